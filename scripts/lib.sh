# Shared by every script: where things live, which Windows architecture
# this host runs, the Wine environment, and the services the program needs.
# The CUPS scheduler's configuration and backend are in scripts/cups.
# shellcheck shell=bash

KIRUNE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The script that sources this file, and its arguments (it is sourced with
# none, so they are still the script's), for kirune_setup to start it again.
KIRUNE_SCRIPT='' KIRUNE_SCRIPT_ARGS=()
if [ "${BASH_SOURCE[1]:-}" = "$0" ]; then
    KIRUNE_SCRIPT=$(cd "$(dirname "$0")" && pwd)/${0##*/}
    KIRUNE_SCRIPT_ARGS=("$@")
fi
KIRUNE_BUILD=${KIRUNE_BUILD:-$KIRUNE_ROOT/build}
KIRUNE_STATE=${KIRUNE_STATE:-$KIRUNE_BUILD/state}
KIRUNE_LOGS=$KIRUNE_BUILD/logs
KIRUNE_PDF_DIR=${KIRUNE_PDF_DIR:-$KIRUNE_BUILD/pdf}
KIRUNE_PRINTER=${KIRUNE_PRINTER:-KirunePDF}
# Host files the tests under Wine write for a moment: this run's own, as
# Wine's process ids repeat across prefixes and runs.
KIRUNE_HOST_TMP=${KIRUNE_HOST_TMP:-$KIRUNE_STATE/host-tmp}
# The tests (under Wine too) find the printers and their PDFs through these.
export KIRUNE_PDF_DIR KIRUNE_PRINTER KIRUNE_HOST_TMP
# cupsd and lpadmin live in /usr/sbin, which a user's PATH often lacks.
case ":$PATH:" in
    *:/usr/sbin:*) ;;
    *) PATH=$PATH:/usr/sbin ;;
esac

# Wine: no Mono or Gecko installers, no debug noise. The locale, the prefix
# and the loader are set by kirune_use_arch.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml="}
export WINEDEBUG=${WINEDEBUG:--all}
# One server serves 32-bit and 64-bit clients alike; the 64-bit one runs on
# every host that Wine's 64-bit loader runs on.
export WINESERVER=/usr/lib/wine/wineserver64

# The Windows architectures Kirune builds for, in the order the tests run
# them: i686 is the program that ships, x86_64 runs where 32-bit code cannot.
KIRUNE_ARCHES=(i686 x86_64)

kirune_log() { echo "kirune: $*" >&2; }

# Runs one step of a script: STEP COMMAND [ARG...]. Its output goes to a
# log under build/logs; when it fails, says which step, the command, where
# the log is and what it said, and returns the command's status.
kirune_step() {
    local step=$1 rc=0
    shift
    mkdir -p "$KIRUNE_LOGS"
    local log=$KIRUNE_LOGS/${step//[^A-Za-z0-9_.-]/-}.log
    "$@" >"$log" 2>&1 </dev/null || rc=$?
    if [ "$rc" -ne 0 ]; then
        kirune_log "step '$step' failed with status $rc: $*"
        kirune_log "its output ($log):"
        local errors
        errors=$(grep -E -m 40 '(error|Error|ERROR)' "$log" || true)
        { if [ -n "$errors" ]; then echo "$errors"; else tail -n 30 "$log"; fi; } | sed 's/^/    /' >&2
    fi
    return "$rc"
}

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
KIRUNE_RUNNABLE=()
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

# Chooses ARCH for what follows: its build folder (KIRUNE_WIN), its own
# Wine prefix (win32 or win64) and its loader; code page 932 through the
# Japanese locale.
kirune_use_arch() {
    # Japanese, code page 932; KIRUNE_LOCALE runs a test under another one.
    # A shell that sources this file itself (kirune_setup starts only the
    # scripts again) may have begun before set-up made the locale, and would
    # warn that it cannot switch to it: the programs started are what need it.
    { export LANG=${KIRUNE_LOCALE:-ja_JP.UTF-8} LC_ALL=${KIRUNE_LOCALE:-ja_JP.UTF-8}; } 2>/dev/null
    KIRUNE_LOADER=$(kirune_loader "$1") || { kirune_log "unknown architecture '$1'"; return 1; }
    KIRUNE_ARCH=$1
    # shellcheck disable=SC2034  # for the scripts that source this file
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

# Sets up the machine. When set-up has just made the locale the programs
# run in, this process cannot switch to it: glibc reads the locale archive
# once, at a process's first locale lookup (bash's, at its start), and
# never again, so each later change of LC_ALL in this shell, even its
# restoring after a command run with LC_ALL=C, would warn. The script then
# starts itself again, once, as a fresh process that finds the locale.
kirune_setup() {
    "$KIRUNE_ROOT/scripts/setup" || return
    local locale=${KIRUNE_LOCALE:-ja_JP.UTF-8}
    if [ -n "$KIRUNE_SCRIPT" ] && [ -z "${KIRUNE_RESTARTED:-}" ] &&
        [ -n "$(export LC_ALL="$locale" 2>&1)" ] && [ -z "$(env LC_ALL="$locale" locale 2>&1 >/dev/null)" ]; then
        kirune_log "set-up has just made the locale $locale: starting ${KIRUNE_SCRIPT#"$KIRUNE_ROOT"/} again to use it"
        KIRUNE_RESTARTED=1 exec "$KIRUNE_SCRIPT" "${KIRUNE_SCRIPT_ARGS[@]}"
    fi
}

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

# Prints "MACHINE MAGIC VERSION" of a PE file: its machine as 4 hex digits,
# its optional header's magic and the file version of its version resource.
kirune_pe_facts() {
    python3 "$KIRUNE_ROOT/scripts/lib/pe_image.py" "$1"
}

# The time the sources are of, in seconds since 1970: SOURCE_DATE_EPOCH
# when set, else the time of the checkout's commit, else 1980-01-01, the
# first time a zip entry can carry.
kirune_source_date() {
    local at=${SOURCE_DATE_EPOCH:-}
    if [ -z "$at" ] && [ -e "$KIRUNE_ROOT/.git" ]; then
        at=$(git -C "$KIRUNE_ROOT" log -1 --format=%ct 2>/dev/null) || at=
    fi
    if ! [[ $at =~ ^[0-9]+$ ]] || [ "$at" -lt 315532800 ]; then
        kirune_log "neither SOURCE_DATE_EPOCH nor a commit of $KIRUNE_ROOT gives a time from 1980 on: dating the sources 1980-01-01"
        at=315532800
    fi
    echo "$at"
}

# The name of the Japanese guide in the zip is ASCII: Explorer of older
# Windows shows a Japanese name in a zip garbled unless it is stored in code
# page 932, and Windows of other languages would garble that one.
KIRUNE_GUIDE=README-ja.txt

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

# Copies this checkout's files, committed or not (all that git does not
# ignore), into the new folder DEST; with "clone", DEST is also a clone of
# the repository at the same commit, for the commit's time.
kirune_copy_checkout() {
    local dest=$1 clone=${2:-}
    mkdir -p "$dest" || return
    if [ "$clone" = clone ] && [ -e "$KIRUNE_ROOT/.git" ] && git -C "$KIRUNE_ROOT" rev-parse --git-dir >/dev/null 2>&1; then
        git clone -q --shared --no-checkout "$KIRUNE_ROOT" "$dest" || return
    fi
    if git -C "$KIRUNE_ROOT" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$KIRUNE_ROOT" ls-files -z --cached --others --exclude-standard |
            tar -C "$KIRUNE_ROOT" --null --ignore-failed-read -T - -cf - 2>/dev/null
    else
        tar -C "$KIRUNE_ROOT" --exclude=./build -cf - .
    fi | tar -C "$dest" -xf -
}

# Creates the chosen architecture's prefix once: boots it, gives it Wine's
# own fonts and a Japanese font under the name Windows has, keeps Wine from
# handing its windows to a window manager (without one, each close would
# wait about two seconds), and turns off the crash dialog, which would hold
# a crashed test until its timeout. A prefix prepared by an older road (its
# ready file has another number) is prepared again.
kirune_wine_prefix() {
    local ready=$WINEPREFIX/.kirune-ready-4
    [ -f "$ready" ] && return 0
    kirune_log "preparing the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    kirune_step "wineboot-$WINEARCH" kirune_wine wineboot -i || return
    kirune_step "wineserver-wait" kirune_wineserver -w || return
    kirune_step "fonts-$WINEARCH" kirune_wine_fonts || return
    kirune_step "registry-$WINEARCH" kirune_wine_registry || return
    kirune_step "wineserver-wait" kirune_wineserver -w || return
    touch "$ready"
}

# Wine never reads its own font folder here: with Debian's loaders in
# /usr/lib/wine it looks for it as /usr/lib/wine/../../share/wine/fonts and
# never opens it, so Marlett, the font of the title-bar buttons, is missing
# and the buttons show the letters 0, 1 and r. The Windows font folder of
# the prefix is always read: the fonts go there.
kirune_wine_fonts() {
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Wine 10 draws titles, menus and messages in Tahoma, which has no Japanese:
# as on Windows, the characters come from the fonts Tahoma links to, MS UI
# Gothic first, which Linux lacks, and would draw as boxes. IPA Gothic, the
# font Wine 8 draws these texts in, takes that name.
kirune_wine_registry() {
    kirune_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f &&
    kirune_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
    kirune_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /t REG_SZ /d IPAGothic /f
}

# Starts the prefix's wineserver before anything else runs, so that Wine's
# background processes do not hold the pipes of the first program started.
kirune_wine_start() {
    # The tests' host scripts and their output go here (RunOnHost).
    mkdir -p "$KIRUNE_HOST_TMP"
    kirune_step "wineserver-start" kirune_wineserver -p || return
    kirune_wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

kirune_wine_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    kirune_wineserver -k 2>/dev/null || true
    kirune_wineserver -w 2>/dev/null || true
}

# A virtual X display for this run; sets DISPLAY. Xvfb takes a free display
# number itself and names it once it is ready, so that two runs starting
# together never pick the same one.
KIRUNE_XVFB_PID=
kirune_xvfb_start() {
    mkdir -p "$KIRUNE_LOGS" "$KIRUNE_STATE"
    local named=$KIRUNE_STATE/xvfb-display
    rm -f "$named"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$named" >"$KIRUNE_LOGS/xvfb.log" 2>&1 &
    KIRUNE_XVFB_PID=$!
    local _ n
    for _ in $(seq 1 300); do
        n=$(cat "$named" 2>/dev/null || true)
        if [ -n "$n" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        kill -0 "$KIRUNE_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    kirune_log "step 'xvfb' failed: Xvfb did not name a display it serves"
    sed 's/^/    /' "$KIRUNE_LOGS/xvfb.log" >&2
    return 1
}

kirune_xvfb_stop() {
    if [ -n "$KIRUNE_XVFB_PID" ]; then
        kill "$KIRUNE_XVFB_PID" 2>/dev/null || true
        wait "$KIRUNE_XVFB_PID" 2>/dev/null || true
        KIRUNE_XVFB_PID=
    fi
}

# TRUE when the scheduler that lpstat reaches answers. lpstat -r exits 0
# either way, so its (untranslated) words decide.
kirune_scheduler_running() {
    [ "$(LC_ALL=C lpstat -r 2>/dev/null)" = "scheduler is running" ]
}

# The scheduler's folder: build/state/cups, or, when root runs it from a
# checkout that other users cannot reach (one under /root), a folder of the
# temporary folder named after the checkout. The filters run as lp then,
# and read the printers' descriptions and the jobs in it.
kirune_cups_dir() {
    if [ "$(id -u)" -eq 0 ] && ! setpriv --reuid="$(id -u lp)" --regid="$(id -g lp)" --clear-groups test -x "$KIRUNE_STATE"; then
        echo "${TMPDIR:-/tmp}/kirune-cups-$(printf '%s' "$KIRUNE_STATE" | sha256sum | cut -c1-12)"
    else
        echo "$KIRUNE_STATE/cups"
    fi
}

# Writes TEMPLATE into FILE with each @NAME@ replaced by VALUE.
#   kirune_cups_fill TEMPLATE FILE NAME=VALUE...
kirune_cups_fill() {
    local text pair
    text=$(<"$1") || return
    local file=$2
    shift 2
    for pair in "$@"; do
        text=${text//"@${pair%%=*}@"/"${pair#*=}"}
    done
    printf '%s\n' "$text" >"$file"
}

# Starts the scheduler, run by whoever runs the script, with PDF printers
# whose files land in $KIRUNE_PDF_DIR. It keeps its files in the folder
# kirune_cups_dir names and never touches the system's scheduler or /etc;
# programs reach it through CUPS_SERVER. One run of a checkout uses it at a
# time: a second waits for the first to end.
kirune_cups_start() {
    mkdir -p "$KIRUNE_STATE" && chmod 0755 "$KIRUNE_BUILD" "$KIRUNE_STATE" || return
    KIRUNE_CUPS_DIR=$(kirune_cups_dir)
    local dir=$KIRUNE_CUPS_DIR conf=$KIRUNE_ROOT/scripts/cups
    local socket=$dir/private/cups.sock
    # A socket's path must fit sockaddr_un.
    if [ ${#socket} -gt 100 ]; then
        kirune_log "step 'cups' failed: the scheduler's socket path is longer than 100 bytes: $socket (clone the project to a shorter path)"
        return 1
    fi
    mkdir -p "$dir"/{spool,cache,state,tmp,log,ppd,private,bin/backend} "$KIRUNE_PDF_DIR"
    chmod 0700 "$dir/private"
    # Filters run as the scheduler's User (lp) when root runs it: they read
    # the printers' descriptions under this folder.
    chmod 0755 "$dir"
    exec {KIRUNE_CUPS_LOCK}>"$dir/private/lock"
    if ! flock -n "$KIRUNE_CUPS_LOCK"; then
        kirune_log "another run of this checkout is using its CUPS scheduler; waiting for it to end"
        flock "$KIRUNE_CUPS_LOCK"
    fi
    kirune_cups_fill "$conf/cupsd.conf.in" "$dir/cupsd.conf" SOCKET="$socket" &&
        kirune_cups_fill "$conf/cups-files.conf.in" "$dir/cups-files.conf" DIR="$dir" || return
    # Run by another user than root, the scheduler runs everything as that
    # user; the User and Group it would switch to must then be that user's.
    if [ "$(id -u)" -ne 0 ]; then
        printf 'User %s\nGroup %s\n' "$(id -un)" "$(id -gn)" >>"$dir/cups-files.conf"
    fi
    # The scheduler's programs are the system's, but for the backends: only
    # this folder's own. 0700: the backend runs as the scheduler's own user,
    # root or not.
    local part
    for part in daemon filter monitor notifier cgi-bin driver; do
        ln -sfn "/usr/lib/cups/$part" "$dir/bin/$part"
    done
    install -m 0700 "$conf/kirunepdf" "$dir/bin/backend/kirunepdf" || return
    rm -f "$socket"
    # The lock is this script's: the scheduler must not hold it once it ends.
    cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 {KIRUNE_CUPS_LOCK}>&- &
    KIRUNE_CUPSD_PID=$!
    export CUPS_SERVER=$socket
    local _
    for _ in $(seq 1 100); do
        kirune_scheduler_running && break
        kill -0 "$KIRUNE_CUPSD_PID" 2>/dev/null || break
        sleep 0.1
    done
    if ! kirune_scheduler_running; then
        kirune_log "step 'cups' failed: the CUPS scheduler did not answer on $CUPS_SERVER: cupsd -f -c $dir/cupsd.conf -s $dir/cups-files.conf"
        cat "$dir/log/"* 2>/dev/null | tail -n 30 | sed 's/^/    /' >&2
        return 1
    fi
    # The printer a user gets prints on L-size paper; the test printers print
    # on A4 at both resolutions the L-size area is checked at; the tests
    # that only watch the calls print to one that discards its jobs.
    kirune_cups_add_printer "$KIRUNE_PRINTER" 300 L "kirunepdf:/" || return
    kirune_cups_add_printer "${KIRUNE_PRINTER}300" 300 A4 "kirunepdf:/" || return
    kirune_cups_add_printer "${KIRUNE_PRINTER}600" 600 A4 "kirunepdf:/" || return
    kirune_cups_add_printer "${KIRUNE_PRINTER}Discard" 300 L "file:/dev/null" || return
    kirune_step "cups-default-printer" lpadmin -d "$KIRUNE_PRINTER"
}

# Adds a printer NAME at DPI dots per inch with PAPER (L or A4) as its
# default, printing to DEVICE. lpadmin's warning that printer drivers are
# deprecated stays in the step's log.
kirune_cups_add_printer() {
    local name=$1 dpi=$2 paper=$3 device=$4
    [ "$device" = kirunepdf:/ ] && mkdir -p "$KIRUNE_PDF_DIR/$name"
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
    if [ "$paper" = L ]; then
        ppd=$KIRUNE_CUPS_DIR/ppd/kirune-pdf-l.ppd
        kirune_step "cups-ppd-l-size" kirune_l_size_ppd "$ppd" || return
    fi
    kirune_step "cups-printer-$name" lpadmin -p "$name" -v "$device" -E \
        -P "$ppd" -o "Resolution=${dpi}dpi" -o "PageSize=$paper"
}

# cups-pdf's description with one paper more, the L size (89 x 127 mm, in
# points 252.28 x 360) without margins, made the default; A4 and the other
# papers stay on offer.
kirune_l_size_ppd() {
    local size='252.28 360'
    sed -e 's/^\*Default\(PageSize\|PageRegion\|ImageableArea\|PaperDimension\): A4/*Default\1: L/' \
        -e "/^\\*PageSize A4\\/A4:/a *PageSize L/L 89 x 127 mm: \"<</PageSize[$size]/ImagingBBox null>>setpagedevice\"" \
        -e "/^\\*PageRegion A4\\/A4:/a *PageRegion L/L 89 x 127 mm: \"<</PageSize[$size]/ImagingBBox null>>setpagedevice\"" \
        -e "/^\\*ImageableArea A4\\/A4:/a *ImageableArea L/L 89 x 127 mm: \"0 0 $size\"" \
        -e "/^\\*PaperDimension A4\\/A4:/a *PaperDimension L/L 89 x 127 mm: \"$size\"" \
        -e 's/^\*NickName: *"\(.*\)"/*NickName: "\1, L size"/' \
        /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd >"$1"
}

kirune_cups_stop() {
    if [ -n "${KIRUNE_CUPSD_PID:-}" ]; then
        kill "$KIRUNE_CUPSD_PID" 2>/dev/null || true
        wait "$KIRUNE_CUPSD_PID" 2>/dev/null || true
        KIRUNE_CUPSD_PID=
    fi
    if [ -n "${KIRUNE_CUPS_LOCK:-}" ]; then
        exec {KIRUNE_CUPS_LOCK}>&-
        KIRUNE_CUPS_LOCK=
    fi
}

# The scheduler serves its own user alone: it refuses what the program and
# the tests never ask of it (here deleting a printer), and, checked when
# root can switch users, nobody else reaches its socket.
kirune_test_scheduler_private() {
    local out
    out=$(LC_ALL=C lpadmin -x "${KIRUNE_PRINTER}Discard" 2>&1 || true)
    if [ "$out" != "lpadmin: Forbidden" ]; then
        kirune_log "step 'scheduler-private' failed: deleting a printer was not refused: ${out:-it was deleted}"
        return 1
    fi
    [ "$(id -u)" -eq 0 ] || return 0
    out=$(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups \
        env LC_ALL=C CUPS_SERVER="$CUPS_SERVER" lpstat -r 2>&1 || true)
    if [ "$out" != "scheduler is not running" ]; then
        kirune_log "step 'scheduler-private' failed: another user reaches the scheduler at $CUPS_SERVER: $out"
        return 1
    fi
}

# The run command as a user who is not root (nobody) would run it: headless,
# from a folder of their own, in a copy of this checkout's sources that the
# user owns and builds itself, with a plain PATH and no other environment.
# Expects exit 0, the screenshot, and no word about the locale.
kirune_test_user_run() {
    local uid gid home log=$KIRUNE_LOGS/user-run.log rc=0
    uid=$(id -u nobody) && gid=$(id -g nobody) || return
    home=$(mktemp -d "${TMPDIR:-/tmp}/kirune-user-run.XXXXXX") || return
    mkdir -p "$home/photos"
    kirune_copy_checkout "$home/kirune" || rc=$?
    chown -R "$uid:$gid" "$home"
    if [ "$rc" -eq 0 ]; then
        (cd "$home/photos" && setpriv --reuid="$uid" --regid="$gid" --clear-groups \
            env -i HOME="$home" USER=nobody LOGNAME=nobody PATH=/usr/local/bin:/usr/bin:/bin \
            ../kirune/scripts/run) >"$log" 2>&1 </dev/null || rc=$?
    fi
    local shot=$home/kirune/build/screenshot.png problem=
    if [ "$rc" -ne 0 ]; then
        problem="it exited with status $rc"
    elif [ "$(identify -format '%m' "$shot" 2>/dev/null)" != PNG ]; then
        problem="it left no screenshot $shot"
    elif grep -q setlocale "$log"; then
        problem="it warned about the locale"
    fi
    rm -rf "$home"
    if [ -n "$problem" ]; then
        kirune_log "step 'user-run' failed: $problem; its output ($log):"
        tail -n 30 "$log" | sed 's/^/    /' >&2
        return 1
    fi
}
