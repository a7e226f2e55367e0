#!/usr/bin/env bash
# Installs what is missing, then configures and builds Quisk into build/.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=progress.sh
source "$(dirname "$0")/progress.sh"

bash "$root/scripts/setup.sh"

stage "Configuring (CMake, RelWithDebInfo)"
logged cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo || fail "cmake could not configure"
say "    $(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$root/build/CMakeCache.txt") in build/"

# One line per finished target with CMake's percentage, compiler warnings
# and errors as they come, and on a terminal a line that follows the file
# being compiled.
build_progress() {
  live_awk -v quiet="$quiet" -v tty="$tty" '
    function show(text) {
      if (quiet) return
      if (tty) printf "\r\033[K"
      print text
      fflush()
    }
    /warning:|error:/ { show("    " $0); next }
    /Built target .*_autogen$/ { next } # CMake'"'"'s helpers for Qt, not ours
    /Built target / {
      match($0, /\[ *[0-9]+%\]/)
      show("    " substr($0, RSTART, RLENGTH) " " $NF)
      next
    }
    /^\[[0-9]+\/[0-9]+\] Linking/ { show("    " $1 " " $NF); next }
    tty && !quiet && /^\[ *[0-9]+%\] Building/ {
      match($0, /\[ *[0-9]+%\]/)
      n = split($NF, parts, "/")
      sub(/\.o$/, "", parts[n])
      printf "\r\033[K    %s compiling %s", substr($0, RSTART, RLENGTH), parts[n]
      fflush()
    }'
}

stage "Building (on $(nproc) cores)"
cmake --build "$root/build" -j"$(nproc)" 2>&1 | tee -a "$log" | build_progress || fail "the build stopped"
[ "$tty" = 1 ] && printf '\r\033[K'

summary "built build/bin/quisk and build/bin/quisk-run" "bash scripts/run-sample.sh"
