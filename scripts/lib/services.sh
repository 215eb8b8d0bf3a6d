# What the program needs around it under Wine, started and stopped in one
# order by every script: the virtual display first, then the CUPS
# scheduler with its PDF printers, then the chosen architecture's Wine
# prefix and server; stopped in the reverse order, also when the script
# exits early.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
source "$(dirname "${BASH_SOURCE[0]}")/cups.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

KIRUNE_SERVICES=(display printers wine)

# Starts each SERVICE named (display, printers, wine) that is not running,
# in the order above; the first call makes the script's exit stop them.
# Starting one while a later one runs fails: stop that one first. Wine's
# is the chosen architecture's: stop it before choosing another.
#   kirune_start SERVICE...
kirune_start() {
    local i j service wanted=" $* "
    for service in "$@"; do
        [[ " ${KIRUNE_SERVICES[*]} " == *" $service "* ]] || { kirune_log "no service '$service'"; return 1; }
    done
    if [ -z "${KIRUNE_RUNNING:-}" ]; then
        trap kirune_stop EXIT
        KIRUNE_RUNNING=' '
    fi
    for ((i = 0; i < ${#KIRUNE_SERVICES[@]}; i++)); do
        service=${KIRUNE_SERVICES[i]}
        [[ $wanted == *" $service "* ]] || continue
        kirune_running "$service" && continue
        for ((j = i + 1; j < ${#KIRUNE_SERVICES[@]}; j++)); do
            if kirune_running "${KIRUNE_SERVICES[j]}"; then
                kirune_log "cannot start $service while ${KIRUNE_SERVICES[j]} runs: it starts first"
                return 1
            fi
        done
        # Counted as running from here: one that fails half-started is
        # stopped too.
        KIRUNE_RUNNING+="$service "
        case $service in
            display) kirune_xvfb_start ;;
            printers) kirune_cups_start ;;
            wine) kirune_wine_prefix && kirune_wine_start ;;
        esac || return
    done
}

# Stops each SERVICE named, or every one running, in the reverse order.
#   kirune_stop [SERVICE...]
kirune_stop() {
    local i service wanted=" $* "
    for ((i = ${#KIRUNE_SERVICES[@]} - 1; i >= 0; i--)); do
        service=${KIRUNE_SERVICES[i]}
        [ $# -eq 0 ] || [[ $wanted == *" $service "* ]] || continue
        kirune_running "$service" || continue
        case $service in
            wine) kirune_wine_stop ;;
            printers) kirune_cups_stop ;;
            display) kirune_xvfb_stop ;;
        esac
        KIRUNE_RUNNING=${KIRUNE_RUNNING/" $service "/" "}
    done
}

# TRUE when kirune_start has started SERVICE and it has not been stopped.
kirune_running() {
    [[ ${KIRUNE_RUNNING:-} == *" $1 "* ]]
}
