#!/usr/bin/env bash
# The run command as a user who is not root (nobody) would run it: headless,
# from a folder of their own, in a copy of this checkout's sources that the
# user owns and builds itself, with a plain PATH and no other environment.
# Expects exit 0, the screenshot, and no word about the locale. Run as root.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/env.sh"
source "$(dirname "$0")/../../scripts/lib/checkout.sh"
kirune_init

log=$KIRUNE_LOGS/user-run.log rc=0
uid=$(id -u nobody)
gid=$(id -g nobody)
home=$(mktemp -d "${TMPDIR:-/tmp}/kirune-user-run.XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/photos" "$KIRUNE_LOGS"
kirune_copy_checkout "$home/kirune" || rc=$?
chown -R "$uid:$gid" "$home"
if [ "$rc" -eq 0 ]; then
    (cd "$home/photos" && setpriv --reuid="$uid" --regid="$gid" --clear-groups \
        env -i HOME="$home" USER=nobody LOGNAME=nobody PATH=/usr/local/bin:/usr/bin:/bin \
        ../kirune/scripts/run) >"$log" 2>&1 </dev/null || rc=$?
fi
shot=$home/kirune/build/screenshot.png problem=''
if [ "$rc" -ne 0 ]; then
    problem="it exited with status $rc"
elif [ "$(identify -format '%m' "$shot" 2>/dev/null)" != PNG ]; then
    problem="it left no screenshot $shot"
elif grep -q setlocale "$log"; then
    problem="it warned about the locale"
fi
if [ -n "$problem" ]; then
    kirune_log "step 'user-run' failed: $problem; its output ($log):"
    tail -n 30 "$log" | sed 's/^/    /' >&2
    exit 1
fi
