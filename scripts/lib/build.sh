# Building: the native unit tests with the host compiler, and Kirune.exe
# with its tests for each Windows architecture with mingw-w64.
# shellcheck shell=bash

kirune_build_native() {
    local native=$KIRUNE_BUILD/native
    if [ ! -f "$native/CMakeCache.txt" ]; then
        kirune_step "configure-native" cmake -S "$KIRUNE_ROOT/tests/native" -B "$native" || return
    fi
    kirune_step "build-native" cmake --build "$native" -j"$(nproc)"
}

# Builds Kirune.exe and its tests for ARCH into build/ARCH; with TARGETs
# after ARCH, only those. The compilers are cached: when the toolchain files
# change, the tree is configured afresh, or it would go on with the
# compilers it was made with.
kirune_build() {
    local arch=$1 win=$KIRUNE_BUILD/$1
    shift
    local toolchain=$KIRUNE_ROOT/cmake/mingw-$arch.cmake
    local stamp=$win/kirune-toolchain.sum sum
    sum=$(cat "$toolchain" "$KIRUNE_ROOT/cmake/mingw-common.cmake" | sha256sum)
    if [ ! -f "$win/CMakeCache.txt" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$sum" ]; then
        kirune_step "configure-$arch" cmake --fresh -S "$KIRUNE_ROOT" -B "$win" \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release || return
        printf '%s\n' "$sum" > "$stamp"
    fi
    kirune_step "build-$arch" cmake --build "$win" -j"$(nproc)" ${1:+--target "$@"}
}
