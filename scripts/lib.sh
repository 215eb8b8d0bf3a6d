# Shared by scripts/run, scripts/test and scripts/wine-exec: where things
# live, the Wine environment, and the services the program needs.
# shellcheck shell=bash

KIRUNE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KIRUNE_BUILD=${KIRUNE_BUILD:-$KIRUNE_ROOT/build}
KIRUNE_STATE=${KIRUNE_STATE:-$KIRUNE_BUILD/state}
KIRUNE_PDF_DIR=${KIRUNE_PDF_DIR:-$KIRUNE_BUILD/pdf}
KIRUNE_CUPS_PORT=${KIRUNE_CUPS_PORT:-6631}
KIRUNE_PRINTER=${KIRUNE_PRINTER:-KirunePDF}
# The tests (under Wine too) find the printers and their PDFs through these.
export KIRUNE_PDF_DIR KIRUNE_PRINTER

# Wine: a 32-bit prefix of the project's own, code page 932 through the
# Japanese locale, no Mono or Gecko installers, no debug noise.
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEPREFIX=${WINEPREFIX:-$KIRUNE_BUILD/wineprefix}
export WINEARCH=win32
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml="}
export WINEDEBUG=${WINEDEBUG:--all}

kirune_log() { echo "kirune: $*" >&2; }

kirune_setup() {
    "$KIRUNE_ROOT/scripts/setup"
}

kirune_build() {
    local win=$KIRUNE_BUILD/win
    if [ ! -f "$win/CMakeCache.txt" ]; then
        cmake -S "$KIRUNE_ROOT" -B "$win" -DCMAKE_TOOLCHAIN_FILE="$KIRUNE_ROOT/cmake/mingw-i686.cmake" \
              -DCMAKE_BUILD_TYPE=Release -DKIRUNE_NATIVE_TESTS="$KIRUNE_BUILD/native/kirune_native_tests" >"$KIRUNE_BUILD/configure-win.log" 2>&1 \
            || { cat "$KIRUNE_BUILD/configure-win.log" >&2; return 1; }
    fi
    cmake --build "$win" -j"$(nproc)" >"$KIRUNE_BUILD/build-win.log" 2>&1 \
        || { grep -E 'error|Error' "$KIRUNE_BUILD/build-win.log" | head -40 >&2; return 1; }
}

kirune_build_native() {
    local native=$KIRUNE_BUILD/native
    if [ ! -f "$native/CMakeCache.txt" ]; then
        cmake -S "$KIRUNE_ROOT/tests/native" -B "$native" >"$KIRUNE_BUILD/configure-native.log" 2>&1 \
            || { cat "$KIRUNE_BUILD/configure-native.log" >&2; return 1; }
    fi
    cmake --build "$native" -j"$(nproc)" >"$KIRUNE_BUILD/build-native.log" 2>&1 \
        || { grep -E 'error|Error' "$KIRUNE_BUILD/build-native.log" | head -40 >&2; return 1; }
}

# Creates the prefix once: boots it, keeps Wine from handing its windows to a
# window manager (without one, each close would wait about two seconds), and
# turns off the crash dialog, which would hold a crashed test until its timeout.
kirune_wine_prefix() {
    if [ ! -f "$WINEPREFIX/.kirune-ready-2" ]; then
        kirune_log "preparing the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.kirune-ready-2"
    fi
}

# Starts the wineserver before anything else runs, so that Wine's background
# processes do not hold the pipes of the first program started.
kirune_wine_start() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

kirune_wine_stop() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

# A virtual X display for this run; sets DISPLAY.
KIRUNE_XVFB_PID=
kirune_xvfb_start() {
    local n
    for n in $(seq 91 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$KIRUNE_BUILD/xvfb.log" 2>&1 &
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
    kirune_log "could not start Xvfb"
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
        sleep 0.1
    done
    kirune_scheduler_running || { kirune_log "the CUPS scheduler did not start"; cat "$dir/log/"* >&2; return 1; }
    kirune_cups_add_printer "$KIRUNE_PRINTER" 300
    # The print tests print at both resolutions the L-size area is checked at.
    kirune_cups_add_printer "${KIRUNE_PRINTER}300" 300
    kirune_cups_add_printer "${KIRUNE_PRINTER}600" 600
    lpadmin -d "$KIRUNE_PRINTER"
}

# Adds a PDF printer NAME at DPI dots per inch whose PDFs go to
# $KIRUNE_PDF_DIR/NAME, one file per job (the job id in the name). The PDFs
# keep the printed images pixel for pixel (Ghostscript neither downsamples
# nor compresses them lossily) and pages are never turned, so that a test
# can check what was printed to the device pixel.
kirune_cups_add_printer() {
    local name=$1 dpi=$2 out=$KIRUNE_PDF_DIR/$1
    mkdir -p "$out"
    chmod 1777 "$out"
    cat >"/etc/cups/cups-pdf-$name.conf" <<CONF
Out $out
AnonDirName $out
Label 1
Grp root
GSCall %s -q -dCompatibilityLevel=%s -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="%s" -dAutoRotatePages=/None -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dAutoFilterGrayImages=false -dGrayImageFilter=/FlateEncode -dPDFSETTINGS=/prepress -dDownsampleColorImages=false -dDownsampleGrayImages=false -dDownsampleMonoImages=false -c -f %s
CONF
    lpadmin -p "$name" -v "cups-pdf:/$name" -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd \
            -o "Resolution=${dpi}dpi" -o PageSize=A4
}

kirune_cups_stop() {
    if [ -n "$KIRUNE_CUPSD_PID" ]; then
        kill "$KIRUNE_CUPSD_PID" 2>/dev/null || true
        wait "$KIRUNE_CUPSD_PID" 2>/dev/null || true
        KIRUNE_CUPSD_PID=
    fi
}
