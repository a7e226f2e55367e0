#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Quisk.
# Safe to run again: only missing packages are installed.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=progress.sh
source "$(dirname "$0")/progress.sh"

packages=(
  build-essential cmake pkg-config
  libicu-dev zlib1g-dev libzstd-dev
  googletest libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic
  xvfb xauth
  xdg-utils
  time bc
  parallel
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

stage "Debian packages"
if [ ${#missing[@]} -eq 0 ]; then
  say "    all ${#packages[@]} installed: ${packages[*]}"
  summary "all ${#packages[@]} Debian packages are installed" "bash scripts/build.sh"
  exit 0
fi
say "    installing ${#missing[@]} of ${#packages[@]}: ${missing[*]}"
if [ "$(id -u)" != 0 ]; then
  fail "installing packages needs root: sudo bash scripts/setup.sh"
fi

# apt reports its progress on a file descriptor of its own; one line per
# step of 20 percent keeps the screen readable and shows it is moving.
apt_progress() {
  live_awk -F: -v quiet="$quiet" '
    $1 == "dlstatus" || $1 == "pmstatus" {
      step = $1 == "dlstatus" ? "downloading" : "installing"
      percent = int($3)
      if (step != last || percent >= next_at) {
        if (!quiet) printf "    %s %3d%%\n", step, percent
        fflush()
        last = step
        next_at = percent - percent % 20 + 20
      }
    }'
}

export DEBIAN_FRONTEND=noninteractive
logged apt-get update || fail "apt-get update"
{ apt-get install -y --no-install-recommends -o APT::Status-Fd=3 "${missing[@]}" \
    3>&1 >> "$log" 2>&1; } | apt_progress || fail "apt-get install"
say "    installed ${#missing[@]} packages"
summary "installed ${missing[*]}" "bash scripts/build.sh"
