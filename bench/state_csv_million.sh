#!/usr/bin/env bash
# ventacalc-cli state --csv over two files of 1,000,000 (t, rh) rows against
# a plain C loop (bench/state_peer.c) that reads the same file and writes the
# same columns with printf:
#   rounded: t to 0.1 ℃ and RH to 1 %, as logged values and hourly weather
#            are (about 43,000 distinct pairs, so most rows repeat);
#   random:  t and RH at full precision, every row distinct.
# Each program runs REPS times (default 3), alternated; the script prints the
# wall time's minimum and median, the peak memory (/usr/bin/time %M) and the
# ratio of the medians to the C loop's. The CLI runs on one thread and on
# every core; the C loop has one.
# Usage: bench/state_csv_million.sh [build-dir]
#   BEFORE=/path/to/other/ventacalc-cli  also times that program, alternated
#   REPS=N                               repetitions
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
cli="$build/cli/ventacalc-cli"
reps="${REPS:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"${CC:-cc}" -O2 -o "$work/state_peer" "$here/state_peer.c" -lm
# Indoor and outdoor design states: t −10…40 ℃, RH 10…95 %, fixed seeds.
awk 'BEGIN { srand(1); print "t,rh";
             for (k = 0; k < 1000000; ++k) printf "%.1f,%.0f\n", -10 + 50 * rand(), 10 + 85 * rand() }' \
    > "$work/rounded.csv"
awk 'BEGIN { srand(2); print "t,rh";
             for (k = 0; k < 1000000; ++k) printf "%.17g,%.17g\n", -10 + 50 * rand(), 10 + 85 * rand() }' \
    > "$work/random.csv"
echo "distinct rows: rounded $(tail -n +2 "$work/rounded.csv" | sort -u | wc -l)," \
     "random $(tail -n +2 "$work/random.csv" | sort -u | wc -l)"

# name|command (the file is appended)
runs=("C loop|$work/state_peer"
      "cli, 1 thread|$cli state --threads 1 --csv"
      "cli, every core|$cli state --threads 0 --csv")
if [[ -n "${BEFORE:-}" ]]; then
    runs+=("before, 1 thread|$BEFORE state --threads 1 --csv"
           "before, every core|$BEFORE state --threads 0 --csv")
fi

for file in rounded random; do
    for ((r = 0; r < reps; ++r)); do
        for k in "${!runs[@]}"; do
            IFS='|' read -r name command <<< "${runs[$k]}"
            # shellcheck disable=SC2086 # the command is words
            /usr/bin/time -f "%e %M" -o "$work/time" $command "$work/$file.csv" > "$work/out.csv"
            cat "$work/time" >> "$work/$file.$k"
        done
    done
    rows="$(($(wc -l < "$work/out.csv") - 1))"
    echo "$file ($rows rows written):"
    peer=""
    for k in "${!runs[@]}"; do
        IFS='|' read -r name command <<< "${runs[$k]}"
        read -r min median memory < <(sort -n "$work/$file.$k" | awk '
            { t[NR] = $1; if ($2 > m) m = $2 }
            END { print t[1], (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2), m }')
        [[ -z "$peer" ]] && peer="$median"
        printf '  %-20s min %6.2f s  median %6.2f s  %7d KB peak  %5.2f× the C loop\n' \
            "$name" "$min" "$median" "$memory" "$(awk -v a="$median" -v b="$peer" 'BEGIN { print a / b }')"
    done
done
