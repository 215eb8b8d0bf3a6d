# A CUPS scheduler of the checkout's own, with PDF printers; its
# configuration and backend are the files in scripts/cups.
# shellcheck shell=bash

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
