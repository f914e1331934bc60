#!/usr/bin/env bash
# ventacalc-cli state --csv over 1,000,000 rows (t, rh): wall time and peak
# memory, with the machine's cores and with one thread.
# Usage: bench/state_csv_million.sh [build-dir]
set -euo pipefail
build="${1:-$(cd "$(dirname "$0")/.." && pwd)/build}"
cli="$build/cli/ventacalc-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Indoor and outdoor design states: t −10…40 ℃, RH 10…95 %, fixed seed.
awk 'BEGIN { srand(1); print "t,rh";
             for (k = 0; k < 1000000; ++k) printf "%.1f,%.0f\n", -10 + 50 * rand(), 10 + 85 * rand() }' \
    > "$work/rows.csv"
for threads in 0 1; do
    /usr/bin/time -f "threads=$threads (0: every core): %e s wall, %M KB peak" \
        "$cli" state --csv "$work/rows.csv" --threads "$threads" > "$work/out.csv"
done
echo "rows written: $(($(wc -l < "$work/out.csv") - 1))"
