#!/usr/bin/env bash
# Start-up as the user waits for it: the wall time from exec to the main
# menu's first paint on the screen (loader, Qt, fonts, pictures, windows,
# the paint itself), on the offscreen platform and on xcb under Xvfb.
#
# The program ends right after that paint when the environment variable
# VENTACALC_QUIT_AFTER_FIRST_PAINT is set (shell/main.cpp); a program that
# does not know the variable is stopped after 20 s and reported. Set to
# "windows" when the script is called, the variable makes the program end
# only once it has also created its other windows (which follow the paint).
#
# Usage: bench/startup_first_paint.sh [-n RUNS] [-p PLATFORMS] [PROGRAM...]
#   RUNS        timed runs of each program on each platform (default 40)
#   PLATFORMS   comma-separated, of offscreen and xcb (default offscreen,xcb)
#   PROGRAM     ventacalc binaries (default build/ventacalc); with several,
#               their runs alternate, so that a busy machine slows each alike.
# Prints, per platform and program, the minimum, median and mean wall time
# and the minimum and median processor time (user and system) in ms, the
# program's own (not the X server's).
set -euo pipefail
runs=40
platforms=offscreen,xcb
while getopts "n:p:" option; do
    case "$option" in
    n) runs="$OPTARG" ;;
    p) platforms="$OPTARG" ;;
    *) sed -n '2,20p' "$0" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
if [ $# -eq 0 ]; then
    set -- "$(cd "$(dirname "$0")/.." && pwd)/build/ventacalc"
fi

work="$(mktemp -d)"
xvfb=""
cleanup() {
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
# A desktop session has a runtime directory; without one Qt warns on every run.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

if [[ ",$platforms," == *",xcb,"* ]]; then
    display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
        [ -S "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.05
    done
    export DISPLAY="$display"
fi

python3 - "$runs" "$platforms" "$work" "$@" <<'EOF'
import os, resource, statistics, subprocess, sys, time

runs, platforms, work, programs = int(sys.argv[1]), sys.argv[2].split(","), sys.argv[3], sys.argv[4:]
quit_after = os.environ.get("VENTACALC_QUIT_AFTER_FIRST_PAINT") or "1"

def start(program, platform, data):
    env = dict(os.environ, QT_QPA_PLATFORM=platform, VENTACALC_QUIT_AFTER_FIRST_PAINT=quit_after)
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    begin = time.perf_counter_ns()
    try:
        done = subprocess.run([program, "--data-dir", data], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=20)
    except subprocess.TimeoutExpired:
        sys.exit(f"{program} on {platform}: no exit within 20 s of its start "
                 "(does it know VENTACALC_QUIT_AFTER_FIRST_PAINT?)")
    elapsed = (time.perf_counter_ns() - begin) / 1e6
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - used.ru_utime + after.ru_stime - used.ru_stime) * 1e3
    if done.returncode != 0:
        sys.exit(f"{program} on {platform}: exit status {done.returncode}\n"
                 + done.stderr.decode(errors="replace"))
    return elapsed, cpu

for platform in platforms:
    # Each program's data directory is seeded by an untimed first run, as a
    # user's is by the first start; one more untimed run warms the caches.
    datas = []
    for k, program in enumerate(programs):
        data = os.path.join(work, f"data-{platform}-{k}")
        start(program, platform, data)
        start(program, platform, data)
        datas.append(data)
    times = [[] for _ in programs]
    for _ in range(runs):
        for k, program in enumerate(programs):
            times[k].append(start(program, platform, datas[k]))
    for k, program in enumerate(programs):
        wall = [t[0] for t in times[k]]
        cpu = [t[1] for t in times[k]]
        print(f"{platform:9} {program}: wall min {min(wall):6.1f} median {statistics.median(wall):6.1f}"
              f" mean {statistics.fmean(wall):6.1f} ms; cpu (user+sys) min {min(cpu):5.1f}"
              f" median {statistics.median(cpu):5.1f} ms ({runs} runs)")
EOF
