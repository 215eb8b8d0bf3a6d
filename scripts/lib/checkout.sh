# The checkout the scripts run from: its files, and the time its sources
# are of.
# shellcheck shell=bash

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
