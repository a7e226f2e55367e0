#!/usr/bin/env bash
# Compares quisk-run with the commands that only move bytes (dd, cp) and with
# ref_cut, a hand-written C cutter without character handling, on the
# yardstick's fixed-width Shift-JIS file. Checks that quisk-run's output
# equals ref_cut's byte for byte, then prints wall and CPU times, the ratios
# to ref_cut and cp, time per megabyte, quisk-run's peak memory and (with
# strace) the read and write calls of one quisk-run.
#
#   bench/compare.sh [MEGABYTES ...]          (default: 100)
#   RUNS=10 BUILD_DIR=build YARDSTICK=../shared/bench bench/compare.sh 10 100 1000 2000
#
# Uses hyperfine when it is installed, else times the runs itself. Generated
# sources are kept in $DATA_DIR (default /tmp/quisk-bench-data) for the next
# invocation; outputs go to a temporary folder beside them. dd, cp and one
# ref_cut run write new destinations; the other ref_cut run replaces an
# existing one, as quisk-run --overwrite does, and each quisk-run row is
# compared with the ref_cut run of its kind.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
runs=${RUNS:-10}
data=${DATA_DIR:-/tmp/quisk-bench-data}
sizes=("${@:-100}")

yardstick=${YARDSTICK:-}
for candidate in "$yardstick" "$root/../shared/bench" "$root/../../shared/bench"; do
    if [ -n "$candidate" ] && [ -f "$candidate/ref_cut.c" ] && [ -f "$candidate/gen_fixed.py" ]; then
        yardstick=$(cd "$candidate" && pwd)
        break
    fi
done
if [ ! -f "$yardstick/ref_cut.c" ]; then
    echo "compare.sh: ref_cut.c and gen_fixed.py not found; set YARDSTICK to their folder" >&2
    exit 2
fi

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run -j2 >/dev/null
quisk=$build/bin/quisk-run

mkdir -p "$data"
cc -O2 -o "$data/ref_cut" "$yardstick/ref_cut.c"
work=$(mktemp -d "$data/run.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# Times each "name|command" line; writes "name wall_s user_s sys_s" lines.
time_commands() {
    local out=$1
    shift
    if command -v hyperfine >/dev/null; then
        local args=()
        for entry in "$@"; do
            local name=${entry%%|*} command=${entry#*|}
            args+=(--command-name "$name" --prepare "${prepare[$name]:-true}" "$command")
        done
        hyperfine -N --warmup 2 --runs "$runs" --export-json times.json "${args[@]}" >&2
        python3 - times.json > "$out" <<'EOF'
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    print(r["command"].replace(" ", "_"), r["mean"], r["user"], r["system"])
EOF
    else
        : > "$out"
        for entry in "$@"; do
            local name=${entry%%|*} command=${entry#*|}
            python3 - "$name" "$runs" "${prepare[$name]:-true}" "$command" >> "$out" <<'EOF'
import os, shlex, subprocess, sys, time
name, runs, prepare, command = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
walls, users, systems = [], [], []
for i in range(runs + 2):
    subprocess.run(shlex.split(prepare), check=True)
    start = time.perf_counter()
    # The command's own messages must not end up among the times.
    child = subprocess.Popen(shlex.split(command), stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if i >= 2:  # two warm-up runs
        walls.append(time.perf_counter() - start)
        users.append(usage.ru_utime)
        systems.append(usage.ru_stime)
mean = lambda v: sum(v) / len(v)
print(name.replace(" ", "_"), mean(walls), mean(users), mean(systems))
EOF
        done
    fi
}

echo "load: $(uptime | sed 's/.*load average/load average/')"
for mb in "${sizes[@]}"; do
    lines=$(( mb * 1000000 / 122 ))
    source_file=$data/fixed-$lines.txt
    if [ ! -f "$source_file" ]; then
        echo "generating $mb MB ($lines lines)..." >&2
        python3 "$yardstick/gen_fixed.py" "$lines" "$data/tmp.txt"
        mv "$data/tmp.txt" "$source_file"
    fi
    python3 "$yardstick/gen_fixed.py" 0 "$work/layout-source.txt" # layout.csv and layout.qfd
    cat "$source_file" > /dev/null # every command starts from a warm page cache
    bytes=$(stat -c %s "$source_file")

    "$data/ref_cut" layout.csv "$source_file" ref.csv
    "$quisk" --format layout.qfd "$source_file" check.csv >/dev/null
    if ! cmp -s ref.csv check.csv; then
        echo "quisk-run's output differs from ref_cut's for $mb MB:" >&2
        cmp ref.csv check.csv >&2 || true
        exit 1
    fi
    peak=$(/usr/bin/time -f %M "$quisk" --overwrite --format layout.qfd "$source_file" check.csv 2>&1 >/dev/null | tail -1)
    # The read and write calls of one run (every thread), when strace is there.
    calls="strace not installed"
    if command -v strace >/dev/null; then
        strace -f -c -e trace=read,write -o calls.txt \
            "$quisk" --overwrite --format layout.qfd "$source_file" check.csv >/dev/null
        calls=$(awk '$NF == "read" || $NF == "write" { printf "%s%s %s", sep, $4, $NF; sep = ", " }' calls.txt)
    fi
    rm -f check.csv calls.txt

    declare -A prepare=([dd]="rm -f dd.out" [cp]="rm -f cp.out" [ref_cut_new]="rm -f ref-new.csv"
                        [quisk-run_new]="rm -f new.csv")
    time_commands times.txt \
        "dd|dd if=$source_file of=dd.out bs=1M status=none" \
        "cp|cp $source_file cp.out" \
        "ref_cut_new|$data/ref_cut layout.csv $source_file ref-new.csv" \
        "ref_cut_existing|$data/ref_cut layout.csv $source_file ref.csv" \
        "quisk-run_new|$quisk --format layout.qfd $source_file new.csv" \
        "quisk-run_--overwrite|$quisk --overwrite --format layout.qfd $source_file existing.csv"
    rm -f dd.out cp.out ref-new.csv new.csv existing.csv

    python3 - times.txt "$bytes" "$peak" "$calls" <<'EOF'
import sys
rows = [line.split() for line in open(sys.argv[1])]
t = {name: (float(w), float(u), float(s)) for name, w, u, s in rows}
mb = int(sys.argv[2]) / 1e6
cp = t["cp"]
# Each quisk-run row is compared with ref_cut writing the same kind of
# destination: a new file, or one that exists and is replaced.
ref = {"quisk-run_new": t["ref_cut_new"], "quisk-run_--overwrite": t["ref_cut_existing"],
       "ref_cut_new": t["ref_cut_new"], "ref_cut_existing": t["ref_cut_existing"]}
print(f"\n{mb:.0f} MB source, {int(sys.argv[2]) // 122} lines")
print(f"{'command':<24}{'wall ms':>9}{'user ms':>9}{'sys ms':>8}{'ms/MB':>8}"
      f"{'wall/ref_cut':>14}{'user/ref_cut':>14}{'wall/cp':>9}")
for name, (w, u, s) in t.items():
    r = ref.get(name)
    ratios = f"{w / r[0]:>14.2f}{u / r[1]:>14.2f}" if r and r[1] else f"{'':>28}"
    print(f"{name.replace('_', ' '):<24}{w * 1e3:>9.0f}{u * 1e3:>9.0f}{s * 1e3:>8.0f}"
          f"{w * 1e3 / mb:>8.2f}{ratios}{w / cp[0]:>9.2f}")
print(f"quisk-run peak memory: {int(sys.argv[3]) / 1024:.1f} MiB")
print(f"quisk-run system calls: {sys.argv[4]}")
EOF
    unset prepare
done
