#!/usr/bin/env bash
# Set-up's install road, with an apt-get that records its arguments and
# fails as told: the release's own suite is tried once more only when the
# update left an index out, and a failure still stops with apt's lines.
# Then what counts as installed and what is installed on a release that
# calls libcups2 libcups2t64, as Debian 13 does, with its dpkg-query and
# apt-cache faked.
set -u
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
cat >"$fake/apt-get" <<'FAKE'
#!/bin/sh
echo "$*" >>"$FAKE_LOG"
case "$*" in *Default-Release*) [ "$FAIL_RELEASE" = 0 ] ;; *) [ "$FAIL_PLAIN" = 0 ] ;; esac || { echo "E: held broken"; exit 100; }
FAKE
# dpkg-query -W -f=FORMAT puts each record "STATUS|PACKAGE|ARCH|PROVIDES"
# into FORMAT; apt-cache knows every package but libcups2:i386, which
# libcups2t64:i386 provides, and fails on gone.
cat >"$fake/dpkg-query" <<'FAKE'
#!/bin/bash
while IFS='|' read -r status package arch provides; do
    line=${2#-f=} line=${line//'${db:Status-Abbrev}'/$status} line=${line//'${Package}'/$package}
    line=${line//'${Architecture}'/$arch} && printf "${line//'${Provides}'/$provides}"
done <<<$'ii |libcups2t64|i386|libcups2 (= 2.4.10-3)\nii |fonts-wine|all|\nrc |cups|amd64|\nii |wine|amd64|'
FAKE
cat >"$fake/apt-cache" <<'FAKE'
#!/bin/sh
case $1 in show) [ "$3" = libcups2:i386 ] || [ "$3" = gone ] || echo "Package: $3" ;;
showpkg) [ "$2" != gone ] || exit 100; printf 'Reverse Depends: \nReverse Provides: \nlibcups2t64:i386 2.4.10-3 (= 2.4.10-3)\n' ;; esac
FAKE
chmod +x "$fake"/*
source "$(dirname "$0")/../../scripts/setup"
export FAKE_LOG=$fake/log PATH=$fake:$PATH KIRUNE_LOGS=$fake/logs
failures=0
# COMPLETE FAIL-PLAIN FAIL-RELEASE, then: status, installs tried, retry said, apt's lines shown
check() {
    : >"$FAKE_LOG"
    local out rc=0
    out=$(FAIL_PLAIN=$2 FAIL_RELEASE=$3 install_packages "$1" bookworm wine cups 2>&1) || rc=$?
    local got
    got="$rc $(wc -l <"$FAKE_LOG") $(grep -c 'trying again with the packages of bookworm' <<<"$out" || true) $(grep -c '^    E: held broken' <<<"$out" || true)"
    [ "$got" = "$4" ] || { echo "FAIL: install_packages $1 with faults $2 $3 gave '$got', expected '$4'"; failures=$((failures + 1)); }
}
check 1 0 0 "0 1 0 0"
check 1 1 0 "1 1 0 1"   # every index came: no second road
check 0 1 0 "0 2 1 0"
check 0 1 1 "1 2 1 1"
tail -n 1 "$FAKE_LOG" | grep -qx -- 'install -y -qq --no-install-recommends -o APT::Default-Release=bookworm wine cups' \
    || { echo "FAIL: the second try is not the release's: $(cat "$FAKE_LOG")"; failures=$((failures + 1)); }
# What is missing of the names asked for / what installs them, read as set-up reads them.
mapfile -t installs < <(release_packages wine gone libcups2:i386)
got="$(missing_packages wine fonts-wine libcups2:i386 libcups2t64:i386 libcups2:amd64 cups wine:i386 | paste -sd' ') / ${installs[*]}"
[ "$got" = "libcups2:amd64 cups wine:i386 / wine gone libcups2t64:i386" ] ||
    { echo "FAIL: missing / installed gave '$got'"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "the install roads are right"
[ "$failures" -eq 0 ]
