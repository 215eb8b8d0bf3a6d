#!/usr/bin/env bash
# The same sources give the same download: packs the suite's own Kirune.exe
# of ARCH here, then builds and packs it again in a clone at another path,
# 400 days later, in another time zone and with another umask, and expects
# the same bytes: Kirune.exe, the zip and its checksum.
#   reproducible.sh ARCH KIRUNE.EXE
# In the clone it runs as
#   reproducible.sh --again ARCH DIST
# which builds ARCH's program there and packs it into DIST.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/env.sh"
source "$(dirname "$0")/../../scripts/lib/build.sh"
source "$(dirname "$0")/../../scripts/lib/checkout.sh"
source "$(dirname "$0")/../../scripts/lib/package.sh"
kirune_init
if [ "$1" = --again ]; then
    kirune_build "$2" Kirune
    kirune_package "$2" "$KIRUNE_BUILD/$2/Kirune.exe" "$3"
    exit
fi
arch=$1 exe=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/kirune-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT

umask 022
TZ=UTC0 kirune_package "$arch" "$exe" "$work/here"
copy=$work/another/path/kirune
kirune_copy_checkout "$copy" clone
(cd "$copy" && umask 077 && env -u KIRUNE_BUILD -u KIRUNE_STATE TZ=JST-9 LC_ALL=C.UTF-8 faketime -f +400d \
    bash tests/pe/reproducible.sh --again "$arch" "$work/there")

status=0
for file in Kirune.exe "${KIRUNE_ZIP##*/}" "${KIRUNE_ZIP##*/}.sha256"; do
    here=$work/here/$file there=$work/there/$file
    [ "$file" = Kirune.exe ] && here=$exe there=$copy/build/$arch/Kirune.exe
    if ! cmp "$here" "$there"; then
        echo "$file differs between the two builds: $(cmp -l "$here" "$there" 2>/dev/null | wc -l) bytes"
        if grep -qaF "$copy" "$there"; then echo "    it holds its build folder, $copy"; fi
        status=1
    fi
done
exit "$status"
