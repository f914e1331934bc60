#!/usr/bin/env bash
# app/ is the foundation every subsystem stands on: it includes none of them
# (nor shell/, the only folder that includes them all). Fails naming each
# offending line.   app_includes_no_subsystem.sh SOURCE_DIR
set -uo pipefail
root="$1"
folders=()
for dir in "$root"/*/; do
    name="$(basename "$dir")"
    [ "$name" = app ] || folders+=("$name")
done
pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($(IFS='|'; echo "${folders[*]}"))/"
if grep -rnE "$pattern" "$root/app"; then
    echo "FAIL: app/ includes the folders above"
    exit 1
fi
echo "app/ includes no other folder of the program"
