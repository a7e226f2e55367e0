#!/usr/bin/env bash
# Builds Quisk and converts the bundled sample job with the headless runner,
# in a scratch copy under build/sample so the repository stays clean.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" > /dev/null

sample=$root/build/sample
rm -rf "$sample"
mkdir -p "$sample"
cp "$root"/examples/sales.* "$sample"/
cd "$sample"

show() { echo "== $1"; iconv -f CP932 -t UTF-8 "$2" | tr -d '\r'; echo; }
show "source (sales.txt, Shift-JIS, fixed width)" sales.txt
show "job (sales.dof)" sales.dof
"$root/build/bin/quisk-run" sales.dof
show "result (sales.csv)" sales.csv
show "log (Quisk.log)" Quisk.log
