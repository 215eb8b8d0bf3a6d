#!/usr/bin/env bash
# Every shell script of the project, in scripts/ and in tests/, is clean
# under shellcheck with the settings of .shellcheckrc: the files named .sh
# and those that start with a sh or bash #! line.
set -euo pipefail
cd "$(dirname "$0")/../.."

files=()
while IFS= read -r -d '' file; do
    first=''
    [[ $file == *.sh ]] || IFS= read -r first <"$file" || true
    if [[ $file == *.sh || $first =~ ^#!.*[/\ ](ba)?sh$ ]]; then
        files+=("$file")
    fi
done < <(find scripts tests -type f -print0 | sort -z)
if [ ${#files[@]} -eq 0 ]; then
    echo "no shell scripts found under scripts/ and tests/" >&2
    exit 1
fi
shellcheck "${files[@]}"
echo "shellcheck: ${#files[@]} scripts clean"
