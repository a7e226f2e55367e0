#!/usr/bin/env bash
# Conversion benchmark: converts a generated fixed-width Shift-JIS file into
# a delimited file with quisk-run and, alternating in the same run, copies it
# with cp. Prints throughput, the time ratio to cp and peak memory per size.
#
#   bench/run.sh [MEGABYTES ...]     (default: 20 100 300)
#   ROUNDS=5 BUILD_DIR=build bench/run.sh 100
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${ROUNDS:-5}
sizes=("${@:-20 100 300}")
read -r -a sizes <<< "${sizes[*]}"

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run quisk-bench-generate -j2 >/dev/null
bin=$build/bin

work=$(mktemp -d /tmp/quisk-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
iconv -f UTF-8 -t CP932 "$root/bench/bench.qfd.txt" | sed 's/$/\r/' > bench.qfd

# Runs a command once; prints "seconds peak-kilobytes".
measure() {
    local start end
    start=$EPOCHREALTIME
    /usr/bin/time -f %M -o mem.txt "$@" > /dev/null
    end=$EPOCHREALTIME
    echo "$(echo "$end - $start" | bc -l) $(cat mem.txt)"
}

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

printf '%8s %12s %12s %10s %12s %12s\n' "input MB" "quisk MB/s" "cp MB/s" "ratio" "quisk peak" "cp peak"
for mb in "${sizes[@]}"; do
    "$bin/quisk-bench-generate" "$mb" in.txt
    bytes=$(stat -c %s in.txt)
    cat in.txt > /dev/null # both start from a warm page cache
    : > quisk.times
    : > cp.times
    for ((i = 0; i < rounds; i++)); do
        rm -f copy.txt out.csv
        measure cp in.txt copy.txt >> cp.times
        rm -f copy.txt out.csv
        measure "$bin/quisk-run" --overwrite --format bench.qfd in.txt out.csv >> quisk.times
    done
    q=$(cut -d' ' -f1 quisk.times | median)
    c=$(cut -d' ' -f1 cp.times | median)
    qmem=$(cut -d' ' -f2 quisk.times | sort -n | tail -1)
    cmem=$(cut -d' ' -f2 cp.times | sort -n | tail -1)
    printf '%8.0f %12.0f %12.0f %9.2fx %9d KB %9d KB\n' \
        "$(echo "$bytes / 1000000" | bc -l)" \
        "$(echo "$bytes / 1000000 / $q" | bc -l)" \
        "$(echo "$bytes / 1000000 / $c" | bc -l)" \
        "$(echo "$q / $c" | bc -l)" "$qmem" "$cmem"
done
echo "(median of $rounds alternating rounds; output $(stat -c %s out.csv) bytes for the last size)"
