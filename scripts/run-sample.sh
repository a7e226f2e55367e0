#!/usr/bin/env bash
# Builds Quisk, converts the bundled sample job with the headless runner in a
# scratch copy under build/sample (so the repository stays clean), and shows
# what the conversion did.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=progress.sh
source "$(dirname "$0")/progress.sh"

bash "$root/scripts/build.sh"

stage "Converting the sample (quisk-run sales.dof in build/sample)"
started_in=$PWD
sample=$root/build/sample
rm -rf "$sample"
mkdir -p "$sample"
cp "$root"/examples/sales.* "$sample"/
cd "$sample"
logged "$root/build/bin/quisk-run" sales.dof || fail "quisk-run did not convert the sample"
say "    $(iconv -f CP932 -t UTF-8 Quisk.log | tr -d '\r' | paste -sd ' ')"

utf8() { iconv -f CP932 -t UTF-8 | tr -d '\r'; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

echo
echo "== The job sales.dof (one line of seven values: name, source, destination,"
echo "   format, after-run program, overwrite, end after the run)"
echo
utf8 < sales.dof | sed 's/^/  /'
echo
MARK_EXCLUDE=$(sjis '[!対象外範囲]') MARK_NAMES=$(sjis '[!先頭に名前を付ける]') \
  MARK_HEADER=$(sjis '[!ヘッダー]') MARK_YES=$(sjis 'はい') \
  LC_ALL=C awk -f "$root/scripts/show-sample.awk" sales.qfd sales.txt sales.csv | utf8

where=$sample
[ "$started_in" = "$root" ] && where=build/sample
window="cd $(printf '%q' "$where") && ../bin/quisk sales.dof"
echo
echo "== The same job in the window"
echo
echo "  $window        then press 実行"
echo "  Without a display: ../bin/quisk-run sales.dof, or ../bin/quisk -platform offscreen sales.dof /I"
echo

summary "built quisk and quisk-run, converted the sample into build/sample/sales.csv" "$window"
