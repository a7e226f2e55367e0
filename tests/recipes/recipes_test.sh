#!/usr/bin/env bash
# Runs the recipes of the README section "大量のファイル / 複数台で" locally and
# checks that each gives what converting the files one by one gives:
#   - GNU parallel, one job per file, locally and in the --sshlogin form
#     (with the sshlogin ":", which is this machine, so no network is needed);
#   - GNU parallel splitting one large file between records;
#   - the mapper of the Hadoop Streaming and Spark recipes, fed lines that
#     end in a line feed alone, as those frameworks feed them.
#
#   recipes_test.sh path/to/quisk-run
set -euo pipefail

quisk=$(realpath "$1")
if ! command -v parallel >/dev/null; then
    echo "GNU parallel is not installed: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir bin && ln -s "$quisk" bin/quisk-run
export PATH="$work/bin:$PATH"
export PARALLEL_HOME="$work/.parallel" # parallel keeps its own files there

failures=0
same() { # name expected actual
    if cmp -s "$2" "$3"; then
        echo "ok: $1"
    else
        echo "FAILED: $1 ($2 and $3 differ)"
        failures=$((failures + 1))
    fi
}

# A format without field names, header, footer or ranges: records only.
printf '"A","1","2","Char","",""\r\n"N","3","4","Num","",""\r\n' > F.qfd
quisk-run --format F.qfd --splittable > /dev/null

mkdir in expected
for i in $(seq 1 12); do
    for j in $(seq 1 $((i * 40))); do
        printf '%s%04d\x82\xa0\r\n' "a$((i % 10))" "$j"
    done > "in/part$i.txt"
    quisk-run --format F.qfd "in/part$i.txt" "expected/part$i.csv" >/dev/null 2>&1
done

# One job per file, as many at once as there are cores.
mkdir out
parallel quisk-run --format F.qfd '{}' 'out/{/.}.csv' ::: in/*.txt >/dev/null 2>&1
for f in expected/*.csv; do same "parallel: $(basename "$f")" "$f" "out/$(basename "$f")"; done

# The --sshlogin form: the format goes to every machine once, each source
# to the machine that converts it, and the result comes back.
cp in/part1.txt in/part2.txt .
parallel --sshlogin : --basefile F.qfd --trc '{.}.csv' \
    quisk-run --format F.qfd '{}' '{.}.csv' ::: part1.txt part2.txt >/dev/null 2>&1
same "parallel --sshlogin: part1.csv" expected/part1.csv part1.csv
same "parallel --sshlogin: part2.csv" expected/part2.csv part2.csv

# One large file split between records, converted in pieces, joined in order.
cat in/*.txt > big.txt
quisk-run --format F.qfd big.txt big-expected.csv >/dev/null 2>&1
parallel --pipe --recend '\r\n' --block 2k -k quisk-run --format F.qfd - - \
    < big.txt > big.csv 2>/dev/null
same "parallel --pipe" big-expected.csv big.csv

# The cluster mapper: lines arrive ending in a line feed alone; the carriage
# return is put back before quisk-run reads them.
cat > quisk-mapper.sh <<'SH'
#!/bin/sh
LC_ALL=C sed 's/$/\r/' | quisk-run --format F.qfd --eol lf - -
SH
quisk-run --format F.qfd --eol lf big.txt big-lf-expected.csv >/dev/null 2>&1
tr -d '\r' < big.txt | sh quisk-mapper.sh > big-lf.csv 2>/dev/null
same "mapper" big-lf-expected.csv big-lf.csv

[ "$failures" -eq 0 ]
