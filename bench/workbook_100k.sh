#!/usr/bin/env bash
# Results workbooks and listings of 100,000-segment projects on the command
# line: wall time and peak memory of `ventacalc-cli pipe|duct --project F
# --xlsx OUT` and of the listing `pipe --project F`, each run REPS times, with
# a second ventacalc-cli (an older build, say) alternated run by run when
# given. Prints every run (wall s, peak KB, processor s), then per case the
# min and median wall time, the least processor time and the peak memory.
# Usage: bench/workbook_100k.sh [build-dir] [other-ventacalc-cli] [reps]
set -euo pipefail
build="${1:-$(cd "$(dirname "$0")/.." && pwd)/build}"
other="${2:-}"
reps="${3:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_workbook" --write-projects "$work" 100000
clis=("$build/cli/ventacalc-cli")
[ -n "$other" ] && clis+=("$other")
run() { # label cli args...
    local label="$1" cli="$2"
    shift 2
    /usr/bin/time -o "$work/time" -f "%e %M %U %S" "$cli" "$@" > "$work/out" 2> "$work/err" ||
        { echo "$label failed:"; cat "$work/err"; exit 1; }
    read -r wall peak user system < "$work/time"
    echo "$label $wall $peak $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')" | tee -a "$work/runs"
}
for ((k = 0; k < reps; ++k)); do
    for cli in "${clis[@]}"; do
        run "$cli|pipe-xlsx" "$cli" pipe --project "$work/big.gzl" --xlsx "$work/p.xlsx"
        run "$cli|duct-xlsx" "$cli" duct --project "$work/bigduct.dzl" --xlsx "$work/d.xlsx"
        run "$cli|pipe-listing" "$cli" pipe --project "$work/big.gzl"
    done
done
echo "case: min / median wall (s), min processor time (user + system, s), peak memory (KB)"
for c in $(cut -d' ' -f1 "$work/runs" | sort -u); do
    cpu=$(awk -v c="$c" '$1 == c { print $4 }' "$work/runs" | sort -n | head -1)
    awk -v c="$c" '$1 == c { print $2, $3 }' "$work/runs" | sort -n |
        awk -v c="$c" -v cpu="$cpu" '{ w[NR] = $1; if ($2 > peak) peak = $2 }
             END { m = NR % 2 ? w[(NR + 1) / 2] : (w[NR / 2] + w[NR / 2 + 1]) / 2
                   printf "%s: %.2f / %.2f s wall, %.2f s processor, %d KB\n", c, w[1], m, cpu, peak }'
done
