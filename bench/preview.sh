#!/usr/bin/env bash
# Times the format editor's preview update after a change of the layout with
# 200 sample lines shown, painting included, on the offscreen platform. The
# update should take less than 50 ms.
#
#   bench/preview.sh [SAMPLE] [ROUNDS]   (default: 1,000 generated lines, 50)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quisk-bench-preview -j2 >/dev/null
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/quisk-bench-preview" "$@"
