#!/usr/bin/env bash
# Fixed-length record benchmark: the yardstick's 120-byte records converted
# three ways with quisk-run, checked to give the same output byte for byte:
#   lines        the CR LF file read line by line (a format without a record length)
#   fixed+crlf   the same file read as 120-byte records, the CR LF after each detected
#   fixed        the same records with no line ends at all
# The target: "fixed" is at least as fast as "lines".
#
#   bench/fixed_records.sh                  (default: 100 MB, 10 runs each)
#   RUNS=20 DATA_DIR=/tmp/quisk-bench-data YARDSTICK=../shared/bench bench/fixed_records.sh
#
# Uses hyperfine when it is installed, else /usr/bin/time and the median of
# the runs. On a shared machine compare the CPU times and the load printed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${RUNS:-10}
data=${DATA_DIR:-/tmp/quisk-bench-data}
lines=819672

yardstick=${YARDSTICK:-}
for candidate in "$yardstick" "$root/../shared/bench" "$root/../../shared/bench"; do
    if [ -n "$candidate" ] && [ -f "$candidate/gen_fixed.py" ]; then
        yardstick=$(cd "$candidate" && pwd)
        break
    fi
done
[ -f "$yardstick/gen_fixed.py" ] ||
    { echo "fixed_records.sh: gen_fixed.py not found; set YARDSTICK to its folder" >&2; exit 2; }

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run -j2 >/dev/null
quisk=$build/bin/quisk-run

mkdir -p "$data"
source_file=$data/fixed-$lines.txt
if [ ! -f "$source_file" ]; then
    python3 "$yardstick/gen_fixed.py" "$lines" "$data/tmp.txt"
    mv "$data/tmp.txt" "$source_file"
fi
work=$(mktemp -d "$data/fixed.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$yardstick/gen_fixed.py" 0 layout-source.txt # writes layout.qfd
cp layout.qfd fixed.qfd
printf '"[!レコード長]","120","","","",""\r\n' | iconv -f UTF-8 -t CP932 >> fixed.qfd
# The records contain no CR or LF byte, so dropping every CR LF leaves them whole.
python3 -c 'import sys; open(sys.argv[2], "wb").write(open(sys.argv[1], "rb").read().replace(b"\r\n", b""))' \
    "$source_file" records.dat
cat "$source_file" records.dat > /dev/null # warm page cache

"$quisk" --format layout.qfd "$source_file" lines.csv > /dev/null
"$quisk" --format fixed.qfd "$source_file" fixed-crlf.csv > /dev/null
"$quisk" --format fixed.qfd records.dat fixed.csv > /dev/null
cmp lines.csv fixed-crlf.csv && cmp lines.csv fixed.csv ||
    { echo "the outputs differ" >&2; exit 1; }

echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
if command -v hyperfine > /dev/null; then
    hyperfine -N --warmup 2 --runs "$runs" \
        --command-name lines "$quisk --overwrite --format layout.qfd $source_file out.csv" \
        --command-name fixed+crlf "$quisk --overwrite --format fixed.qfd $source_file out.csv" \
        --command-name fixed "$quisk --overwrite --format fixed.qfd records.dat out.csv"
else
    for kind in "lines layout.qfd $source_file" "fixed+crlf fixed.qfd $source_file" \
                "fixed fixed.qfd records.dat"; do
        set -- $kind
        for ((i = 0; i < runs; i++)); do
            /usr/bin/time -f '%e %U %S' "$quisk" --overwrite --format "$2" "$3" out.csv 2>&1 > /dev/null | tail -1
        done | sort -g | awk -v name="$1" '{ a[NR] = $0 } END { print name, "median wall/user/sys s:", a[int((NR + 1) / 2)] }'
    done
fi
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
