# The downloads for Windows: one zip for each architecture's program.
# shellcheck shell=bash

# The name of the Japanese guide in the zip is ASCII: Explorer of older
# Windows shows a Japanese name in a zip garbled unless it is stored in code
# page 932, and Windows of other languages would garble that one.
KIRUNE_GUIDE=README-ja.txt

# Prints "MACHINE MAGIC VERSION" of a PE file: its machine as 4 hex digits,
# its optional header's magic and the file version of its version resource.
kirune_pe_facts() {
    python3 "$KIRUNE_ROOT/scripts/lib/pe_image.py" "$1"
}

# Writes the download of ARCH's program for Windows EXE into the folder
# DIST: Kirune-VERSION-TAG.zip (VERSION from EXE's version resource; TAG
# win32 for the i686 program, for 32-bit Windows, XP included, and win64
# for the x86_64 one, for 64-bit Windows 7 to 11) with Kirune.exe, whatever
# EXE's name (message boxes take their caption from it), and README-ja.txt,
# the guide in Shift-JIS with CRLF ends; and beside it
# Kirune-VERSION-TAG.zip.sha256 in sha256sum's format; sets KIRUNE_ZIP. The
# same EXE and guide make the same bytes whoever packs them, wherever and
# whenever: the entries go in one order, with fixed permissions and the
# sources' time (kirune_source_date) as a DOS time, which is local time:
# UTC's.
kirune_package() {
    local arch=$1 exe=$2 dist=$3 facts stage name tag
    case $arch in
        i686) tag=win32 ;;
        x86_64) tag=win64 ;;
        *) kirune_log "step 'package' failed: no download for the architecture '$arch'"; return 1 ;;
    esac
    facts=$(kirune_pe_facts "$exe") || { kirune_log "step 'version' failed: cannot read the PE headers of $exe"; return 1; }
    name=Kirune-${facts##* }-$tag.zip
    KIRUNE_ZIP=$dist/$name
    stage=$dist/stage
    rm -rf "$stage" "$KIRUNE_ZIP" "$KIRUNE_ZIP.sha256"
    mkdir -p "$stage"
    cp "$exe" "$stage/Kirune.exe"
    if ! kirune_step "guide" iconv -f UTF-8 -t CP932 -o "$stage/$KIRUNE_GUIDE.lf" "$KIRUNE_ROOT/docs/README-ja.txt"; then
        kirune_log "step 'guide' failed: docs/README-ja.txt has a character that code page 932 lacks"
        return 1
    fi
    sed 's/$/\r/' "$stage/$KIRUNE_GUIDE.lf" >"$stage/$KIRUNE_GUIDE"
    rm "$stage/$KIRUNE_GUIDE.lf"
    chmod 0755 "$stage/Kirune.exe"
    chmod 0644 "$stage/$KIRUNE_GUIDE"
    touch -d "@$(kirune_source_date)" "$stage/Kirune.exe" "$stage/$KIRUNE_GUIDE"
    # -X: no Unix owners or times beyond the DOS ones; -j: no folders.
    if ! (cd "$stage" && TZ=UTC0 kirune_step "zip" zip -X -j "$KIRUNE_ZIP" Kirune.exe "$KIRUNE_GUIDE"); then
        kirune_log "step 'zip' failed: zip could not write $KIRUNE_ZIP"
        return 1
    fi
    (cd "$dist" && sha256sum "$name" >"$name.sha256") || return
    rm -rf "$stage"
}
