# Which Windows architecture runs: the ones this host runs, the one chosen
# for what follows, and the Wine loader, prefix and server that go with it.
# KIRUNE_ARCH, the user's, forces one; it is only read.
# shellcheck shell=bash

# The Windows architectures Kirune builds for, in the order the tests run
# them: i686 is the program that ships, x86_64 runs where 32-bit code cannot.
KIRUNE_ARCHES=(i686 x86_64)
# Those this host runs, once kirune_detect_arches has asked.
KIRUNE_RUNNABLE=()

# The Wine loader of an architecture. Debian's wine, wineboot and winepath
# wrappers are never used: they take the 32-bit loader whenever it is
# installed, even on a host that cannot run it.
kirune_loader() {
    case $1 in
        i686) echo /usr/lib/wine/wine ;;
        x86_64) echo /usr/lib/wine/wine64 ;;
        *) return 1 ;;
    esac
}

# TRUE when this host runs Windows code of ARCH: its loader answers.
kirune_arch_runs() {
    local loader
    loader=$(kirune_loader "$1") && "$loader" --version >/dev/null 2>&1
}

# Finds out once which architectures this host runs, into KIRUNE_RUNNABLE
# (i686 first). KIRUNE_ARCH, when set, forces that one alone. Fails, saying
# why, when none can run. Call it after set-up: it asks the installed Wine.
kirune_detect_arches() {
    [ ${#KIRUNE_RUNNABLE[@]} -gt 0 ] && return 0
    if [ -n "${KIRUNE_ARCH:-}" ]; then
        if ! kirune_loader "$KIRUNE_ARCH" >/dev/null; then
            kirune_log "KIRUNE_ARCH is '$KIRUNE_ARCH'; it must be one of ${KIRUNE_ARCHES[*]}"
            return 1
        fi
        if ! kirune_arch_runs "$KIRUNE_ARCH"; then
            kirune_log "KIRUNE_ARCH is $KIRUNE_ARCH, but this host cannot run it: $(kirune_loader "$KIRUNE_ARCH") --version fails"
            return 1
        fi
        KIRUNE_RUNNABLE=("$KIRUNE_ARCH")
        return 0
    fi
    local arch
    for arch in "${KIRUNE_ARCHES[@]}"; do
        kirune_arch_runs "$arch" && KIRUNE_RUNNABLE+=("$arch")
    done
    if [ ${#KIRUNE_RUNNABLE[@]} -eq 0 ]; then
        kirune_log "this host runs neither Wine loader: $(kirune_loader i686) and $(kirune_loader x86_64) both fail to start"
        return 1
    fi
}

# TRUE when ARCH is one this host runs (after kirune_detect_arches).
kirune_runnable() {
    [[ " ${KIRUNE_RUNNABLE[*]} " == *" $1 "* ]]
}

# Chooses ARCH for what follows: KIRUNE_CHOSEN_ARCH, its build folder
# (KIRUNE_WIN), its own Wine prefix (win32 or win64) and its loader; code
# page 932 through the Japanese locale.
# shellcheck disable=SC2034  # KIRUNE_CHOSEN_ARCH and KIRUNE_WIN are the scripts'
kirune_use_arch() {
    # Japanese, code page 932; KIRUNE_LOCALE runs a test under another one.
    # A shell that began before set-up made the locale (kirune_setup starts
    # only the scripts again) would warn that it cannot switch to it: the
    # programs started are what need it.
    { export LANG=${KIRUNE_LOCALE:-ja_JP.UTF-8} LC_ALL=${KIRUNE_LOCALE:-ja_JP.UTF-8}; } 2>/dev/null
    KIRUNE_LOADER=$(kirune_loader "$1") || { kirune_log "unknown architecture '$1'"; return 1; }
    KIRUNE_CHOSEN_ARCH=$1
    KIRUNE_WIN=$KIRUNE_BUILD/$1
    case $1 in
        i686) export WINEARCH=win32 ;;
        x86_64) export WINEARCH=win64 ;;
    esac
    export WINEPREFIX=$KIRUNE_BUILD/wineprefix-$WINEARCH
    # Programs that a Windows program starts run under the same loader.
    export WINELOADER=$KIRUNE_LOADER
}

# Chooses the one architecture a program runs on: the first this host runs.
kirune_use_run_arch() {
    kirune_detect_arches && kirune_use_arch "${KIRUNE_RUNNABLE[0]}"
}

# Every Windows program, Wine's own tools (wineboot, winepath, reg) among
# them, runs through this one function, under the chosen architecture.
kirune_wine() {
    "$KIRUNE_LOADER" "$@"
}

kirune_wineserver() {
    "$WINESERVER" "$@"
}
