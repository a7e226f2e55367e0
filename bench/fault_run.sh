#!/usr/bin/env bash
# Fault run: interrupts quisk-run at random moments of a 100 MB conversion
# (SIGINT, SIGTERM, SIGHUP, SIGKILL) and runs it against a full disk, then
# checks what it left: no stray file in the destination folder, the old
# destination byte for byte intact whenever the run did not finish, and the
# new one complete whenever it reported success. A signal that comes after
# the new destination is in place, while the program ends, finds it
# complete; such rounds are counted apart. Prints one line per case
# and a summary; the exit status is 1 when any check failed.
#
#   bench/fault_run.sh              (ROUNDS=10 interruptions per signal)
#   ROUNDS=3 MEGABYTES=20 BUILD_DIR=build bench/fault_run.sh
#   QUISK_RUN=/path/to/quisk-run bench/fault_run.sh
#
# The full-disk cases need a small file system: a 20 MB tmpfs, or a loop
# ext4 image, both need root; without them those cases are skipped.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${ROUNDS:-10}
megabytes=${MEGABYTES:-100}

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run quisk-bench-generate -j2 >/dev/null || exit 2
run=${QUISK_RUN:-$build/bin/quisk-run} # another build's runner, to compare

# The work folder lies in the build folder, away from shared /tmp clean-ups.
work=$(mktemp -d "$build/fault-run.XXXXXX")
mounts=()
cleanup() {
    for m in "${mounts[@]}"; do umount "$m" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
cd "$work"
iconv -f UTF-8 -t CP932 "$root/bench/bench.qfd.txt" | sed 's/$/\r/' > bench.qfd
"$build/bin/quisk-bench-generate" "$megabytes" in.txt

failures=0
check() { # check DESCRIPTION CONDITION...
    local what=$1
    shift
    if ! "$@"; then
        echo "  FAILED: $what"
        failures=$((failures + 1))
    fi
}
only_destination() { # the folder holds nothing but out.csv (or nothing)
    local extra
    extra=$(find "$1" -mindepth 1 ! -name out.csv | head -5)
    [ -z "$extra" ] || { echo "  stray: $extra"; return 1; }
}
same_hash() { [ "$(sha256sum < "$1" | cut -d' ' -f1)" = "$2" ]; }

# The complete output, and how long a whole run takes.
mkdir -p ref
start=$EPOCHREALTIME
"$run" --overwrite --format bench.qfd in.txt ref/out.csv > /dev/null || exit 2
duration=$(echo "$EPOCHREALTIME - $start" | bc -l)
complete=$(sha256sum < ref/out.csv | cut -d' ' -f1)
complete_size=$(stat -c %s ref/out.csv)
rm -rf ref
printf 'input %d MB, output %d bytes, a whole run takes %.2f s\n' \
    "$(( $(stat -c %s in.txt) / 1000000 ))" "$complete_size" "$duration"

# Interruptions at random moments; the old destination is a small file
# with a content of its own each time.
echo "== interruptions ($rounds per signal, at a random moment of the run)"
mkdir -p dest
# With job control, a background run does not start with SIGINT ignored.
set -m
for signal in INT TERM HUP KILL; do
    interrupted=0 finished=0 late=0
    for ((i = 0; i < rounds; i++)); do
        old="previous destination $signal $i $RANDOM"
        printf '%s' "$old" > dest/out.csv
        old_hash=$(printf '%s' "$old" | sha256sum | cut -d' ' -f1)
        delay=$(echo "$duration * $RANDOM / 32768" | bc -l)
        "$run" --overwrite --format bench.qfd in.txt dest/out.csv > /dev/null 2>&1 &
        pid=$!
        sleep "$delay"
        kill -s "$signal" "$pid" 2>/dev/null
        { wait "$pid"; } 2>/dev/null
        status=$?
        check "$signal round $i: stray files" only_destination dest
        if [ "$status" -eq 0 ]; then
            finished=$((finished + 1))
            check "$signal round $i: success but incomplete" same_hash dest/out.csv "$complete"
        elif same_hash dest/out.csv "$complete"; then
            late=$((late + 1)) # the new file was in place, the program not yet ended
        else
            interrupted=$((interrupted + 1))
            check "$signal round $i: status $status, old destination changed" \
                same_hash dest/out.csv "$old_hash"
        fi
    done
    printf '  SIG%-5s %2d interrupted (old destination intact), %2d finished before the signal,' \
        "$signal" "$interrupted" "$finished"
    printf ' %2d ended by it after the new destination was complete\n' "$late"
done
set +m

# A small file system to fill: tmpfs, else a loop ext4 image.
make_small_fs() { # make_small_fs KIND MOUNTPOINT
    mkdir -p "$2"
    case $1 in
    tmpfs) mount -t tmpfs -o size=20m tmpfs "$2" 2>/dev/null ;;
    ext4)
        truncate -s 24M "$work/ext4.img" &&
            mkfs.ext4 -q -m 0 "$work/ext4.img" 2>/dev/null &&
            mount -o loop "$work/ext4.img" "$2" 2>/dev/null
        ;;
    esac || return 1
    mounts+=("$2")
}

# Runs into the full file system at FOLDER; prints the runner's message.
full_disk_case() { # full_disk_case NAME FOLDER SETUP
    local name=$1 folder=$2 setup=$3 status old_hash=""
    rm -rf "${folder:?}"/*
    case $setup in
    new) ;;
    replace) head -c 3000000 in.txt > "$folder/out.csv" ;;
    linked) # a second name makes the replace happen in place
        head -c 3000000 in.txt > "$folder/out.csv"
        ln "$folder/out.csv" "$folder/second-name"
        ;;
    esac
    [ -f "$folder/out.csv" ] && old_hash=$(sha256sum < "$folder/out.csv" | cut -d' ' -f1)
    "$run" --overwrite --format bench.qfd in.txt "$folder/out.csv" > out.txt 2> err.txt
    status=$?
    echo "  $name: exit $status; $(tr '\n' ' ' < err.txt)"
    check "$name: reported success on a full disk" [ "$status" -ne 0 ]
    check "$name: no cause named" grep -q 'ディスクの空き容量が不足しています' err.txt
    local extra
    extra=$(find "$folder" -mindepth 1 ! -name out.csv ! -name second-name ! -name lost+found)
    check "$name: stray files ($extra)" [ -z "$extra" ]
    if [ -n "$old_hash" ]; then
        check "$name: old destination changed" same_hash "$folder/out.csv" "$old_hash"
    else
        check "$name: a destination was left" [ ! -e "$folder/out.csv" ]
    fi
    # The record named should be about the first one past the space the
    # file system has beside the old destination: report both.
    local named fits old_size=0
    named=$(grep -o '[0-9]*件目' err.txt | head -1)
    [ -n "$old_hash" ] && old_size=$(stat -c %s "$folder/out.csv")
    fits=$(echo "($(df -B1 --output=size "$folder" | tail -1) - $old_size) / \
        ($complete_size / $(wc -l < in.txt))" | bc)
    echo "      named ${named:-?}; about $fits records fit beside the old destination"
}

echo "== full disk"
for kind in tmpfs ext4; do
    mnt=$work/mnt-$kind
    if ! make_small_fs "$kind" "$mnt"; then
        echo "  $kind: cannot mount a small file system here (needs root); skipped"
        continue
    fi
    full_disk_case "$kind new destination" "$mnt" new
    full_disk_case "$kind replace by rename" "$mnt" replace
    full_disk_case "$kind replace in place" "$mnt" linked
    # A run that fits still succeeds there, complete.
    rm -rf "${mnt:?}"/*
    head -n 1000 in.txt > small.txt
    "$run" --overwrite --format bench.qfd small.txt "$mnt/out.csv" > /dev/null 2>&1
    check "$kind: a run that fits failed" [ $? -eq 0 ]
    "$run" --overwrite --format bench.qfd small.txt small.csv > /dev/null 2>&1
    check "$kind: a run that fits is incomplete" cmp -s small.csv "$mnt/out.csv"
done

if [ "$failures" -eq 0 ]; then
    echo "all checks passed"
else
    echo "$failures checks failed"
fi
[ "$failures" -eq 0 ]
