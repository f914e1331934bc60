#!/usr/bin/env bash
# Two timings of the Windows build under wine (indications only: wine is not
# Windows), after scripts/test-windows.sh:
#   - ventacalc.exe from start to its main menu on the display, 5 runs;
#   - ventacalc-cli.exe state --csv over 100,000 rows against the Linux
#     build's ventacalc-cli, 3 runs each, one thread and all threads.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
out="$root/build-windows"
wine=/usr/lib/wine/wine64
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
win() { local p; p="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; echo "Z:${p//\//\\}"; }
display=90
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"; kill "$xvfb_pid"; /usr/lib/wine/wineserver -k || true' EXIT
sleep 1
/usr/lib/wine/wineserver -p

for run in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$wine" "$out/Ventacalc/ventacalc.exe" --data-dir "$(win "$scratch")\\data" >/dev/null 2>&1 &
    xdotool search --sync --onlyvisible --name 'Ventacalc3.00' >/dev/null
    echo "start-up to the main menu, run $run: $((($(date +%s%N) - start) / 1000000)) ms"
    "$wine" taskkill /im ventacalc.exe /f >/dev/null 2>&1 || true
    sleep 1
done

python3 -c 'import random
random.seed(7)
print("t,rh")
for _ in range(100000): print(f"{random.uniform(-40, 60):.3f},{random.uniform(1, 100):.2f}")' \
    >"$scratch/rows.csv"
for threads in 1 "$(nproc)"; do
    for run in 1 2 3; do
        start=$(date +%s%N)
        "$root/build/cli/ventacalc-cli" state --csv "$scratch/rows.csv" --threads "$threads" >/dev/null
        linux=$((($(date +%s%N) - start) / 1000000))
        start=$(date +%s%N)
        "$wine" "$out/Ventacalc/ventacalc-cli.exe" state --csv "$(win "$scratch/rows.csv")" \
            --threads "$threads" >/dev/null
        windows=$((($(date +%s%N) - start) / 1000000))
        echo "state --csv, 100,000 rows, $threads thread(s), run $run: Linux $linux ms, wine $windows ms"
    done
done
