# Where things live and the environment the scripts run in; set-up before
# anything else.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/steps.sh"

# Sets the paths and the environment for what follows. KIRUNE_BUILD,
# KIRUNE_STATE, KIRUNE_PDF_DIR, KIRUNE_PRINTER and KIRUNE_HOST_TMP keep the
# values they come with.
kirune_init() {
    KIRUNE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    KIRUNE_BUILD=${KIRUNE_BUILD:-$KIRUNE_ROOT/build}
    KIRUNE_STATE=${KIRUNE_STATE:-$KIRUNE_BUILD/state}
    KIRUNE_LOGS=$KIRUNE_BUILD/logs
    KIRUNE_PDF_DIR=${KIRUNE_PDF_DIR:-$KIRUNE_BUILD/pdf}
    KIRUNE_PRINTER=${KIRUNE_PRINTER:-KirunePDF}
    # Host files the tests under Wine write for a moment: this run's own, as
    # Wine's process ids repeat across prefixes and runs.
    KIRUNE_HOST_TMP=${KIRUNE_HOST_TMP:-$KIRUNE_STATE/host-tmp}
    # The tests (under Wine too) and the PDF printers' backend find the
    # printers and their PDFs through these.
    export KIRUNE_PDF_DIR KIRUNE_PRINTER KIRUNE_HOST_TMP
    # cupsd and lpadmin live in /usr/sbin, which a user's PATH often lacks.
    case ":$PATH:" in
        *:/usr/sbin:*) ;;
        *) PATH=$PATH:/usr/sbin ;;
    esac
    # Wine: no Mono or Gecko installers, no debug noise. The locale, the
    # prefix and the loader are set by kirune_use_arch.
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree=;mshtml="}
    export WINEDEBUG=${WINEDEBUG:--all}
    # One server serves 32-bit and 64-bit clients alike; the 64-bit one runs
    # on every host that Wine's 64-bit loader runs on.
    export WINESERVER=/usr/lib/wine/wineserver64
}

# Sets up the machine; the script's ARGs are for starting it again. When
# set-up has just made the locale the programs run in, this process cannot
# switch to it: glibc reads the locale archive once, at a process's first
# locale lookup (bash's, at its start), and never again, so each later
# change of LC_ALL in this shell, even its restoring after a command run
# with LC_ALL=C, would warn. The script then starts itself again, once, as
# a fresh process that finds the locale.
#   kirune_setup "$@"
kirune_setup() {
    "$KIRUNE_ROOT/scripts/setup" || return
    local locale=${KIRUNE_LOCALE:-ja_JP.UTF-8} script
    if [ -z "${KIRUNE_RESTARTED:-}" ] &&
        [ -n "$(export LC_ALL="$locale" 2>&1)" ] && [ -z "$(env LC_ALL="$locale" locale 2>&1 >/dev/null)" ]; then
        script=$(cd "$(dirname "$0")" && pwd)/${0##*/}
        kirune_log "set-up has just made the locale $locale: starting ${script#"$KIRUNE_ROOT"/} again to use it"
        KIRUNE_RESTARTED=1 exec "$script" "$@"
    fi
}
