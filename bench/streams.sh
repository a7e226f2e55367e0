#!/usr/bin/env bash
# Times quisk-run as a filter and on compressed sources against the run on a
# named file, and --output-dir on many files with -j 1 and -j 2. Prints the
# median wall time of the rounds, throughput of the source's plain bytes and
# peak memory, and the load average before each part (the machine may be
# shared).
#
#   bench/streams.sh [MEGABYTES [FILES [FILE_MEGABYTES]]]   (default: 100 50 20)
#   ROUNDS=5 BUILD_DIR=build bench/streams.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${ROUNDS:-3}
mb=${1:-100}
files=${2:-50}
file_mb=${3:-20}

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run quisk-bench-generate -j2 >/dev/null
bin=$build/bin
export PATH="$bin:$PATH"

work=$(mktemp -d /tmp/quisk-streams.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
iconv -f UTF-8 -t CP932 "$root/bench/bench.qfd.txt" | sed 's/$/\r/' > bench.qfd

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Runs a shell command `rounds` times; prints its row: name, median seconds,
# MB/s of plain source bytes, peak kilobytes of the largest process.
row() {
    local name=$1 plain=$2 command=$3 times=() start end
    for _ in $(seq "$rounds"); do
        start=$EPOCHREALTIME
        /usr/bin/time -f %M -o mem.txt bash -c "$command" > /dev/null 2>&1
        end=$EPOCHREALTIME
        times+=("$(echo "$end - $start" | bc -l)")
    done
    local seconds
    seconds=$(printf '%s\n' "${times[@]}" | median)
    printf '%-34s %8.2f s %8.0f MB/s %8s KB\n' "$name" "$seconds" \
        "$(echo "$plain / 1000000 / $seconds" | bc -l)" "$(cat mem.txt)"
}

"$bin/quisk-bench-generate" "$mb" in.txt
plain=$(stat -c %s in.txt)
gzip -6 -k in.txt
zstd -q -3 -k in.txt
echo "source: $plain bytes; .gz $(stat -c %s in.txt.gz), .zst $(stat -c %s in.txt.zst)"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
q="quisk-run --overwrite --format bench.qfd"
row "named file" "$plain" "$q in.txt out.csv"
row "filter  - - < file > file" "$plain" "$q - - < in.txt > out.csv"
row "cat | filter" "$plain" "cat in.txt | $q - - > out.csv"
row "named .gz source" "$plain" "$q in.txt.gz out.csv"
row "zcat | filter" "$plain" "zcat in.txt.gz | $q - - > out.csv"
row "zcat alone" "$plain" "zcat in.txt.gz > /dev/null"
row "named .zst source" "$plain" "$q in.txt.zst out.csv"
row "zstdcat | filter" "$plain" "zstdcat in.txt.zst | $q - - > out.csv"
row "zstdcat alone" "$plain" "zstdcat in.txt.zst > /dev/null"
row ".zst destination" "$plain" "$q in.txt out.csv.zst"
row ".gz destination" "$plain" "$q in.txt out.csv.gz"

mkdir many converted
"$bin/quisk-bench-generate" "$file_mb" many/part.txt
for i in $(seq 2 "$files"); do cp many/part.txt "many/part$i.txt"; done
total=$((files * $(stat -c %s many/part.txt)))
echo "many: $files files of $(stat -c %s many/part.txt) bytes"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
row "--output-dir -j 1" "$total" "$q -j 1 --output-dir converted many/*.txt"
row "--output-dir -j 2" "$total" "$q -j 2 --output-dir converted many/*.txt"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
