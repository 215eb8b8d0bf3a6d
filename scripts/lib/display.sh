# A virtual X display, for a run without the user's.
# shellcheck shell=bash

# Starts Xvfb and sets DISPLAY. Xvfb takes a free display number itself and
# names it once it is ready, so that two runs starting together never pick
# the same one.
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
    if [ -n "${KIRUNE_XVFB_PID:-}" ]; then
        kill "$KIRUNE_XVFB_PID" 2>/dev/null || true
        wait "$KIRUNE_XVFB_PID" 2>/dev/null || true
        KIRUNE_XVFB_PID=
    fi
}
