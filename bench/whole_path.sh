#!/usr/bin/env bash
# The path a user takes, against the engine alone: `zor_host simulate` on generated wide piles
# of 10,000 and 100,000 spheres (100 steps of 0.02, CSV records every 10 steps), and the same
# pile built in code and stepped by the engine alone (zor_bench_pile_scale --engine-alone).
#   bench/whole_path.sh [folder of zor_host and the benchmarks] [work folder] [N ...]
# Loading is the time of simulate stopped once the scene is read (an output folder that is a
# file), less the start-up of the module (a command that does nothing else); recording is the run
# (summary.json's wallTime) less the engine's steps; closing is what simulate takes besides its
# load and its run (the last records, the release of the scene, the end of the process).
# On a shared machine wall times stretch with the load: the CPU seconds (user + system) of the
# whole simulate command and of the whole engine-alone program (its build included) are shown too.
set -euo pipefail
bin=${1:-build/default/bin}
work=${2:-build/whole_path}
shift $(($# > 2 ? 2 : $#))
if (($# > 0)); then piles=("$@"); else piles=(10000 100000); fi
mkdir -p -- "$work"

timed() { # OUTPUT STDOUT COMMAND...: seconds, peak kB and CPU seconds of the command into OUTPUT
    local out=$1 stdout=$2
    shift 2
    /usr/bin/time -f '%e %M %U %S' -o "$out" "$@" >"$stdout"
}

timed "$work/start.txt" /dev/null "$bin/zor_host" --quiet --log-dir "$work" generate wide-pile 1 "$work/one.json"
read -r start _ <"$work/start.txt"
printf '%8s %8s %8s %8s %8s %8s %9s %9s %8s %9s %9s %8s %9s %8s\n' N load run steps record close total target peakMB \
    engineMB ratio cpu engineCpu loadCpu
for n in "${piles[@]}"; do
    scene="$work/wide_$n.json"
    "$bin/zor_host" --quiet --log-dir "$work" generate wide-pile "$n" "$scene"
    timed "$work/load_$n.txt" /dev/null "$bin/zor_host" --quiet --log-dir "$work" simulate "$scene" \
        --out "$work/one.json" 2>/dev/null || true
    read -r loaded _ loadUser loadSystem < <(tail -n 1 "$work/load_$n.txt")
    rm -rf -- "$work/run_$n"
    timed "$work/simulate_$n.txt" /dev/null "$bin/zor_host" --quiet --log-dir "$work" simulate "$scene" --steps 100 \
        --record-every 10 --outputs csv --out "$work/run_$n"
    read -r total peak user system <"$work/simulate_$n.txt"
    run=$(sed -n 's/.*"wallTime": \([0-9.e+-]*\).*/\1/p' "$work/run_$n/summary.json")
    # "build B s, S steps T s, peak P kB"
    timed "$work/engine_$n.txt" "$work/engine_$n.out" "$bin/zor_bench_pile_scale" --engine-alone="$n" \
        --steps 100 --dt 0.02
    read -r _ _ _ _ _ steps _ _ enginePeak _ <"$work/engine_$n.out"
    read -r _ _ engineUser engineSystem <"$work/engine_$n.txt"
    awk -v n="$n" -v total="$total" -v run="$run" -v start="$start" -v steps="$steps" -v peak="$peak" \
        -v loaded="$loaded" -v loadCpu="$(awk -v u="$loadUser" -v s="$loadSystem" 'BEGIN { print u + s }')" \
        -v enginePeak="$enginePeak" -v cpu="$user" -v cpuSystem="$system" -v engineCpu="$engineUser" \
        -v engineSystem="$engineSystem" 'BEGIN {
            load = loaded - start
            printf "%8d %8.2f %8.2f %8.2f %8.2f %8.2f %9.2f %9.2f %8.0f %9.0f %9.2f %8.2f %9.2f %8.2f\n", n, load,
                run, steps, run - steps, total - run - loaded, total, 1.5 * steps + load, peak / 1024,
                enginePeak / 1024, peak / enginePeak, cpu + cpuSystem, engineCpu + engineSystem, loadCpu
        }'
done
echo "target: total under 1.5 x steps + load; peak under 2 x the engine's (ratio); load under 2 s"
