#!/usr/bin/env bash
# The water pipe and the air duct calculators stand side by side on app/ and
# friction/: neither includes the other. Fails naming each offending line.
#   calculators_independent.sh SOURCE_DIR
set -uo pipefail
root="$1"
status=0
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]'
if grep -rnE "${include}duct/" "$root/pipe"; then
    echo "FAIL: pipe/ includes duct/"
    status=1
fi
if grep -rnE "${include}pipe/" "$root/duct"; then
    echo "FAIL: duct/ includes pipe/"
    status=1
fi
[ "$status" = 0 ] && echo "pipe/ and duct/ include neither the other"
exit "$status"
