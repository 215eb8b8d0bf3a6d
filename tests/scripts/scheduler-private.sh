#!/usr/bin/env bash
# The test scheduler serves its own user alone: it refuses what the program
# and the tests never ask of it (here deleting a printer), and, checked when
# root can switch users, nobody else reaches its socket.
# Needs the environment of scripts/test: CUPS_SERVER and KIRUNE_PRINTER.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/steps.sh"

out=$(LC_ALL=C lpadmin -x "${KIRUNE_PRINTER}Discard" 2>&1 || true)
if [ "$out" != "lpadmin: Forbidden" ]; then
    kirune_log "step 'scheduler-private' failed: deleting a printer was not refused: ${out:-it was deleted}"
    exit 1
fi
[ "$(id -u)" -eq 0 ] || exit 0
out=$(setpriv --reuid="$(id -u nobody)" --regid="$(id -g nobody)" --clear-groups \
    env LC_ALL=C CUPS_SERVER="$CUPS_SERVER" lpstat -r 2>&1 || true)
if [ "$out" != "scheduler is not running" ]; then
    kirune_log "step 'scheduler-private' failed: another user reaches the scheduler at $CUPS_SERVER: $out"
    exit 1
fi
