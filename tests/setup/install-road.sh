#!/usr/bin/env bash
# Set-up's install road, with an apt-get that records its arguments and
# fails as told: the release's own suite is tried once more only when the
# update left an index out, and a failure still stops with apt's lines.
set -u
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
printf '%s\n' '#!/bin/sh' 'echo "$*" >>"$FAKE_LOG"' \
    'case "$*" in *Default-Release*) [ "$FAIL_RELEASE" = 0 ] ;; *) [ "$FAIL_PLAIN" = 0 ] ;; esac || { echo "E: held broken"; exit 100; }' \
    >"$fake/apt-get"
chmod +x "$fake/apt-get"
source "$(dirname "$0")/../../scripts/setup"
export FAKE_LOG=$fake/log PATH=$fake:$PATH
failures=0
# COMPLETE FAIL-PLAIN FAIL-RELEASE, then: status, installs tried, retry said, apt's lines shown
check() {
    : >"$FAKE_LOG"
    local out rc=0
    out=$(FAIL_PLAIN=$2 FAIL_RELEASE=$3 install_packages "$1" bookworm wine cups 2>&1) || rc=$?
    local got="$rc $(wc -l <"$FAKE_LOG") $(grep -c 'trying again with the packages of bookworm' <<<"$out") $(grep -c '^    E: held broken' <<<"$out")"
    [ "$got" = "$4" ] || { echo "FAIL: install_packages $1 with faults $2 $3 gave '$got', expected '$4'"; failures=$((failures + 1)); }
}
check 1 0 0 "0 1 0 0"
check 1 1 0 "1 1 0 1"   # every index came: no second road
check 0 1 0 "0 2 1 0"
check 0 1 1 "1 2 1 1"
tail -n 1 "$FAKE_LOG" | grep -qx -- 'install -y -qq --no-install-recommends -o APT::Default-Release=bookworm wine cups' \
    || { echo "FAIL: the second try is not the release's: $(cat "$FAKE_LOG")"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "the install roads are right"
[ "$failures" -eq 0 ]
