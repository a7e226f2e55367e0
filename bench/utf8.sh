#!/usr/bin/env bash
# UTF-8 output benchmark: converts one fixed-width Shift-JIS file with
# quisk-run into Shift-JIS and, alternating in the same run, into UTF-8
# (--encoding utf-8), checks that the UTF-8 output is the Shift-JIS output
# read as code page 932, and prints the median wall, user and CPU time of
# both and their ratios. The target is a speed ratio of at least 0.8.
#
#   bench/utf8.sh [ROUNDS]                       (default 7)
#   SOURCE=big.txt FORMAT=big.qfd bench/utf8.sh  an existing file and format
#   GEN_FIXED=path/gen_fixed.py bench/utf8.sh    generate with that script
#                                                (819672 lines, 100 MB)
#   FRESH=1 bench/utf8.sh                        write new destinations: each
#                                                old one is removed untimed
#
# By default each round replaces the destination of the round before it of
# the same kind, so the times include freeing the old file's pages.
#
# Without SOURCE, the file is made by GEN_FIXED when given, else by the
# project's own generator (100 MB). Times are taken by the shell, to the
# millisecond. Timings on a shared machine are noisy:
# the user times (the conversion's own work, all threads), the CPU times
# (user + system: writing the larger UTF-8 output costs more system time)
# and the load average printed with them say how far to trust the wall
# times.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${1:-7}

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run quisk-bench-generate -j2 >/dev/null
run=$build/bin/quisk-run

work=$(mktemp -d /tmp/quisk-utf8.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
if [ -n "${SOURCE:-}" ]; then
    source=$SOURCE
    format=${FORMAT:?FORMAT names the format file for SOURCE}
elif [ -n "${GEN_FIXED:-}" ]; then
    python3 "$GEN_FIXED" 819672 in.txt
    source=in.txt
    format=layout.qfd
else
    "$build/bin/quisk-bench-generate" 100 in.txt
    iconv -f UTF-8 -t CP932 "$root/bench/bench.qfd.txt" | sed 's/$/\r/' > bench.qfd
    source=in.txt
    format=bench.qfd
fi
cat "$source" > /dev/null # both start from a warm page cache

# Converts into DESTINATION with the further options given; prints
# "wall-seconds user-seconds cpu-seconds", to the millisecond.
measure() {
    local destination=$1
    shift
    [ -z "${FRESH:-}" ] || rm -f "$destination"
    local TIMEFORMAT='%3R %3U %3S'
    { time "$run" --overwrite "$@" --format "$format" "$source" "$destination" \
        > /dev/null 2>&1; } 2> time.txt
    awk '{ printf "%s %s %.3f\n", $1, $2, $2 + $3 }' time.txt
}

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

: > sjis.times
: > utf8.times
for ((i = 0; i < rounds; i++)); do
    measure out-sjis.txt >> sjis.times
    measure out-utf8.txt --encoding utf-8 >> utf8.times
done
iconv -f CP932 -t UTF-8 out-sjis.txt | cmp -s - out-utf8.txt ||
    { echo "the UTF-8 output differs from the Shift-JIS output read as CP932" >&2; exit 1; }

# The median of field N of both kinds of rounds.
sjisMedian() { cut -d' ' -f"$1" sjis.times | median; }
utf8Median() { cut -d' ' -f"$1" utf8.times | median; }
sw=$(sjisMedian 1)
uw=$(utf8Median 1)
su=$(sjisMedian 2)
uu=$(utf8Median 2)
sc=$(sjisMedian 3)
uc=$(utf8Median 3)
mb=$(echo "$(stat -c %s "$source") / 1000000" | bc -l)
megabytes() { echo "$(stat -c %s "$1") / 1000000" | bc -l; }
printf '%-10s %10s %10s %10s %10s %12s\n' output "wall s" "MB/s" "user s" "CPU s" "output MB"
printf '%-10s %10.3f %10.0f %10.3f %10.3f %12.0f\n' Shift-JIS "$sw" "$(echo "$mb / $sw" | bc -l)" \
    "$su" "$sc" "$(megabytes out-sjis.txt)"
printf '%-10s %10.3f %10.0f %10.3f %10.3f %12.0f\n' UTF-8 "$uw" "$(echo "$mb / $uw" | bc -l)" \
    "$uu" "$uc" "$(megabytes out-utf8.txt)"
printf 'speed ratio UTF-8 / Shift-JIS: %.2f (wall), %.2f (user), %.2f (CPU)\n' \
    "$(echo "$sw / $uw" | bc -l)" "$(echo "$su / $uu" | bc -l)" "$(echo "$sc / $uc" | bc -l)"
destinations="destinations replaced"
[ -z "${FRESH:-}" ] || destinations="new destinations"
echo "(median of $rounds alternating rounds, $(printf '%.0f' "$mb") MB input, $destinations;" \
    "load average: $(cut -d' ' -f1-3 /proc/loadavg))"
