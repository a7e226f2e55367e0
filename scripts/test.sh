#!/usr/bin/env bash
# Builds Quisk and runs every test; window tests run on Qt's offscreen platform.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=progress.sh
source "$(dirname "$0")/progress.sh"

bash "$root/scripts/build.sh"

# The count as tests finish (a line per tenth, or one line that follows them
# on a terminal), failures at once, and ctest's closing lines as they are.
test_progress() {
  live_awk -v quiet="$quiet" -v tty="$tty" '
    function show(text) {
      if (tty) printf "\r\033[K"
      print text
      fflush()
    }
    /^ *[0-9]+\/[0-9]+ Test +#/ {
      split($1, count, "/")
      if ($0 ~ /\*\*\*|Failed|Not Run|Timeout|Exception/ && $0 !~ / Passed /)
        show("    FAILED " $4)
      else if (quiet) next
      else if (tty) { printf "\r\033[K    %d/%d tests done", count[1], count[2]; fflush() }
      else if (count[1] * 10 >= count[2] * (shown + 1) || count[1] == count[2]) {
        show("    " count[1] "/" count[2] " tests done")
        shown = int(count[1] * 10 / count[2])
      }
      next
    }
    /tests passed, .* tests failed out of/ { closing = 1 }
    closing { show($0) }'
}

stage "Testing (ctest on $(nproc) cores)"
status=0
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)" 2>&1 \
  | tee -a "$log" | test_progress || status=$?
if [ "$status" != 0 ]; then
  [ "$quiet" = 1 ] || ctest --test-dir "$root/build" --rerun-failed --output-on-failure >&2 || true
  fail "see the failed tests above" 0
fi

count=$(grep -o 'tests failed out of [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*$')
summary "built quisk and quisk-run, $count tests passed" "bash scripts/run-sample.sh"
