#!/usr/bin/env bash
# Builds Ventacalc and starts it, installing first only the packages building
# and running need. Arguments go to the program (e.g. --data-dir DIR).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" ventacalc ventacalc-cli
exec "$root/build/ventacalc" "$@"
