# What every script says, and how it runs a step: set-up sources this
# before anything is installed, so it needs nothing beyond bash, grep, sed
# and coreutils.
# shellcheck shell=bash

kirune_log() { echo "kirune: $*" >&2; }

# Runs one step of a script: STEP COMMAND [ARG...]. Its output goes to a
# log in $KIRUNE_LOGS; when it fails, says which step, the command, where
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
