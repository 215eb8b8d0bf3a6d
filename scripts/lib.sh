# Shared by every script: where things live, which Windows architecture
# this host runs, the Wine environment, and the services the program needs.
# shellcheck shell=bash

KIRUNE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KIRUNE_BUILD=${KIRUNE_BUILD:-$KIRUNE_ROOT/build}
KIRUNE_STATE=${KIRUNE_STATE:-$KIRUNE_BUILD/state}
KIRUNE_LOGS=$KIRUNE_BUILD/logs
KIRUNE_PDF_DIR=${KIRUNE_PDF_DIR:-$KIRUNE_BUILD/pdf}
KIRUNE_CUPS_PORT=${KIRUNE_CUPS_PORT:-6631}
KIRUNE_PRINTER=${KIRUNE_PRINTER:-KirunePDF}
# The tests (under Wine too) find the printers and their PDFs through these.
export KIRUNE_PDF_DIR KIRUNE_PRINTER

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
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
    KIRUNE_LOADER=$(kirune_loader "$1") || { kirune_log "unknown architecture '$1'"; return 1; }
    KIRUNE_ARCH=$1
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

kirune_setup() {
    "$KIRUNE_ROOT/scripts/setup"
}

kirune_build_native() {
    local native=$KIRUNE_BUILD/native
    if [ ! -f "$native/CMakeCache.txt" ]; then
        kirune_step "configure-native" cmake -S "$KIRUNE_ROOT/tests/native" -B "$native" || return
    fi
    kirune_step "build-native" cmake --build "$native" -j"$(nproc)"
}

# Builds Kirune.exe and its tests for ARCH into build/ARCH.
# The compilers are cached: when the toolchain files change, the tree is
# configured afresh, or it would go on with the compilers it was made with.
kirune_build() {
    local arch=$1 win=$KIRUNE_BUILD/$1
    local toolchain=$KIRUNE_ROOT/cmake/mingw-$arch.cmake
    local stamp=$win/kirune-toolchain.sum sum
    sum=$(cat "$toolchain" "$KIRUNE_ROOT/cmake/mingw-common.cmake" | sha256sum)
    if [ ! -f "$win/CMakeCache.txt" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$sum" ]; then
        kirune_step "configure-$arch" cmake --fresh -S "$KIRUNE_ROOT" -B "$win" \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release || return
        printf '%s\n' "$sum" > "$stamp"
    fi
    kirune_step "build-$arch" cmake --build "$win" -j"$(nproc)"
}

# Creates the chosen architecture's prefix once: boots it, gives it Wine's
# own fonts, keeps Wine from handing its windows to a window manager
# (without one, each close would wait about two seconds), and turns off the
# crash dialog, which would hold a crashed test until its timeout.
kirune_wine_prefix() {
    local ready=$WINEPREFIX/.kirune-ready-3
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

kirune_wine_registry() {
    kirune_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f &&
    kirune_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
}

# Starts the prefix's wineserver before anything else runs, so that Wine's
# background processes do not hold the pipes of the first program started.
kirune_wine_start() {
    kirune_step "wineserver-start" kirune_wineserver -p || return
    kirune_wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

kirune_wine_stop() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    kirune_wineserver -k 2>/dev/null || true
    kirune_wineserver -w 2>/dev/null || true
}

# A virtual X display for this run; sets DISPLAY.
KIRUNE_XVFB_PID=
kirune_xvfb_start() {
    mkdir -p "$KIRUNE_LOGS"
    local n
    for n in $(seq 91 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$KIRUNE_LOGS/xvfb.log" 2>&1 &
            KIRUNE_XVFB_PID=$!
            export DISPLAY=":$n"
            local i
            for i in $(seq 1 100); do
                xdpyinfo >/dev/null 2>&1 && return 0
                kill -0 "$KIRUNE_XVFB_PID" 2>/dev/null || break
                sleep 0.1
            done
        fi
    done
    kirune_log "step 'xvfb' failed: Xvfb did not start on any display from :91 to :140"
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

# A CUPS scheduler of the project's own on a loopback port, with PDF
# printers whose files land in $KIRUNE_PDF_DIR. It never touches the
# system's scheduler; programs reach it through CUPS_SERVER.
KIRUNE_CUPSD_PID=
kirune_cups_start() {
    local dir=$KIRUNE_STATE/cups
    mkdir -p "$dir"/{spool,cache,state,tmp,log,ppd} "$KIRUNE_PDF_DIR"
    chmod 0755 "$KIRUNE_BUILD" "$KIRUNE_STATE" "$dir"
    chmod 1777 "$dir/tmp" "$KIRUNE_PDF_DIR"
    cat >"$dir/cupsd.conf" <<CONF
Listen 127.0.0.1:$KIRUNE_CUPS_PORT
LogLevel warn
MaxLogSize 0
WebInterface No
Browsing Off
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
CONF
    cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice Yes
CONF
    cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
    KIRUNE_CUPSD_PID=$!
    export CUPS_SERVER=127.0.0.1:$KIRUNE_CUPS_PORT
    local i
    for i in $(seq 1 100); do
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
    # on A4 at both resolutions the L-size area is checked at.
    kirune_cups_add_printer "$KIRUNE_PRINTER" 300 L || return
    kirune_cups_add_printer "${KIRUNE_PRINTER}300" 300 A4 || return
    kirune_cups_add_printer "${KIRUNE_PRINTER}600" 600 A4 || return
    kirune_step "cups-default-printer" lpadmin -d "$KIRUNE_PRINTER"
}

# Adds a PDF printer NAME at DPI dots per inch with PAPER (L or A4) as its
# default; its PDFs go to $KIRUNE_PDF_DIR/NAME, one file per job, named
# after the document and the job: Print-12.pdf. The PDFs keep the printed
# images pixel for pixel (Ghostscript neither downsamples nor compresses
# them lossily) and pages are never turned, so that a test can check what
# was printed to the device pixel. lpadmin's warning that printer drivers
# are deprecated stays in the step's log.
kirune_cups_add_printer() {
    local name=$1 dpi=$2 paper=$3 out=$KIRUNE_PDF_DIR/$1
    local dir=$KIRUNE_STATE/cups
    local staging=$dir/pdf-spool/$name done=$dir/pdf-done-$name.sh
    mkdir -p "$out" "$staging"
    chmod 1777 "$out" "$staging"
    # cups-pdf 3.0.1 names its files after the title followed by whatever
    # its buffer held before (pieces of this file's GSCall line or of the
    # output folder), so it writes them into a folder of its own, and this
    # script gives each its name and moves it into place in one step, once
    # it is complete.
    cat >"$done" <<SCRIPT
#!/bin/sh
# cups-pdf's file: job_ID-TITLE...pdf
id=\$(basename "\$1" | sed -n 's/^job_\([0-9]*\)-.*/\1/p')
title=\$(pdfinfo "\$1" 2>/dev/null | sed -n 's/^Title: *//p' | tr '/' '_')
mv "\$1" "$out/\${title:-document}-\${id:-0}.pdf"
SCRIPT
    chmod 0755 "$done"
    cat >"/etc/cups/cups-pdf-$name.conf" <<CONF
Out $staging
AnonDirName $staging
Label 1
Grp root
PostProcessing $done
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="%s" -dAutoRotatePages=/None -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dAutoFilterGrayImages=false -dGrayImageFilter=/FlateEncode -dPDFSETTINGS=/prepress -dDownsampleColorImages=false -dDownsampleGrayImages=false -dDownsampleMonoImages=false -c -f %s
CONF
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
    if [ "$paper" = L ]; then
        ppd=$dir/ppd/kirune-pdf-l.ppd
        kirune_step "cups-ppd-l-size" kirune_l_size_ppd "$ppd" || return
    fi
    kirune_step "cups-printer-$name" lpadmin -p "$name" -v "cups-pdf:/$name" -E \
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
    if [ -n "$KIRUNE_CUPSD_PID" ]; then
        kill "$KIRUNE_CUPSD_PID" 2>/dev/null || true
        wait "$KIRUNE_CUPSD_PID" 2>/dev/null || true
        KIRUNE_CUPSD_PID=
    fi
}
