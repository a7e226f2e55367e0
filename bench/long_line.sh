#!/usr/bin/env bash
# Memory on a very long line: converts a source of one line of MEGABYTES
# (default 300) with a format of FIELDS fields (default 50) that cut the
# line into equal pieces, and prints the peak memory against the line's size.
# The run must succeed with a peak below the line plus 16 MiB.
#
#   bench/long_line.sh [MEGABYTES [FIELDS]]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
megabytes=${1:-300}
fields=${2:-50}

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-run -j2 >/dev/null

work=$(mktemp -d /tmp/quisk-long-line.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - "$megabytes" "$fields" <<'EOF'
import sys
size, fields = int(sys.argv[1]) * 1000000, int(sys.argv[2])
unit = "東京都渋谷区表参道ｶﾅ ABC 123 ".encode("cp932")
with open("long.txt", "wb") as f:
    block = unit * (1 << 16)
    left = size
    while left > 0:
        f.write(block[:left])
        left -= min(left, len(block))
    f.write(b"\r\n")
settings = [("[!テキスト区切文字-文字]", "ダブル", ""), ("[!テキスト区切文字-数字]", "ダブル", ""),
            ("[!フィールド間区切文字-文字]", "カンマ", ""), ("[!フィールド間区切文字-数字]", "カンマ", ""),
            ("[!読込みファイル形式]", "テキストファイル", ""), ("[!書出しファイル形式]", "区切ファイル", ""),
            ("[!対象外範囲]", "0", "0"), ("[!そのまま書込む範囲]", "0", "0"),
            ("[!先頭に名前を付ける]", "いいえ", ""), ("[!ヘッダー]", "", ""), ("[!フッター]", "", "")]
rows = [[name, a, b, "", "", ""] for name, a, b in settings]
piece = size // fields
rows += [["F%d" % k, str(1 + k * piece), str(piece), "Char", "", ""] for k in range(fields)]
text = "".join(",".join('"%s"' % v for v in row) + "\r\n" for row in rows)
open("long.qfd", "wb").write(text.encode("cp932"))
EOF

line_kib=$(( $(stat -c %s long.txt) / 1024 ))
if ! /usr/bin/time -o peak.txt -f %M "$build/bin/quisk-run" --format long.qfd long.txt out.csv >/dev/null; then
    echo "quisk-run failed on the long line" >&2
    exit 1
fi
peak_kib=$(tail -1 peak.txt)
echo "line: $(( line_kib / 1024 )) MiB, $fields fields; peak memory: $(( peak_kib / 1024 )) MiB" \
     "(line + $(( (peak_kib - line_kib) / 1024 )) MiB); output $(( $(stat -c %s out.csv) / 1048576 )) MiB"
if (( peak_kib - line_kib >= 16 * 1024 )); then
    echo "peak memory is 16 MiB or more above the line" >&2
    exit 1
fi
