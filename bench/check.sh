#!/usr/bin/env bash
# Times quisk-run --check against a conversion of the same file: the
# yardstick's fixed-width Shift-JIS file and its layout, alternating rounds,
# wall and CPU seconds of each round and the medians. The check should take
# no longer than the conversion.
#
#   bench/check.sh [MEGABYTES]       (default: 100)
#   RUNS=9 BUILD_DIR=build YARDSTICK=../shared/bench bench/check.sh 100
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${RUNS:-5}
data=${DATA_DIR:-/tmp/quisk-bench-data}
megabytes=${1:-100}

yardstick=${YARDSTICK:-}
for candidate in "$yardstick" "$root/../shared/bench" "$root/../../shared/bench"; do
    if [ -n "$candidate" ] && [ -f "$candidate/gen_fixed.py" ]; then
        yardstick=$(cd "$candidate" && pwd)
        break
    fi
done
if [ ! -f "$yardstick/gen_fixed.py" ]; then
    echo "check.sh: gen_fixed.py not found; set YARDSTICK to its folder" >&2
    exit 2
fi

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run -j2 >/dev/null
quisk=$build/bin/quisk-run

mkdir -p "$data/$megabytes"
source_file=$data/$megabytes/fixed.txt
lines=$((megabytes * 1000000 / 122))
[ -f "$source_file" ] || python3 "$yardstick/gen_fixed.py" "$lines" "$source_file" >/dev/null
out=$(mktemp -d "$data/check.XXXXXX")
trap 'rm -rf "$out"' EXIT

# Prints "WALL USER SYS" of one command, its output thrown away.
timed() {
    /usr/bin/time -f "%e %U %S" -o "$out/time" "$@" >/dev/null 2>&1 || true
    tail -n 1 "$out/time"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

echo "load: $(uptime | sed 's/.*load average: //')"
printf '%-8s %8s %8s %8s\n' run wall user sys
for ((i = 1; i <= runs; i++)); do
    read -r w u s <<<"$(timed "$quisk" --check --format "$data/$megabytes/layout.qfd" "$source_file")"
    printf '%-8s %8s %8s %8s\n' check "$w" "$u" "$s" | tee -a "$out/check"
    read -r w u s <<<"$(timed "$quisk" --overwrite --format "$data/$megabytes/layout.qfd" \
        "$source_file" "$out/out.csv")"
    printf '%-8s %8s %8s %8s\n' convert "$w" "$u" "$s" | tee -a "$out/convert"
done
for kind in check convert; do
    printf 'median %-8s wall %s  user %s  sys %s\n' "$kind" \
        "$(awk '{ print $2 }' "$out/$kind" | median)" \
        "$(awk '{ print $3 }' "$out/$kind" | median)" \
        "$(awk '{ print $4 }' "$out/$kind" | median)"
done
