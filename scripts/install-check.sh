#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian 12 root and checks that the
# installed Quisk works on its own, away from the build tree:
#   1. debootstrap a minimal bookworm root and apt-get install ./quisk_*.deb,
#   2. convert the bundled sample with /usr/bin/quisk-run,
#   3. run the sample job with /usr/bin/quisk and /I on the offscreen platform,
#   4. open the help with F1 in a real window under Xvfb and check that the
#      help window shows, not the missing-file message.
#
#   bash scripts/install-check.sh [PACKAGE.deb]   (default: build-package/quisk_*.deb)
#
# Needs root, debootstrap and Debian's package mirror.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls "$root"/build-package/quisk_*.deb 2> /dev/null | tail -1)}
[ -f "$deb" ] || { echo "no package: run bash scripts/package.sh first" >&2; exit 2; }
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if ! command -v debootstrap > /dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends debootstrap
fi

target=$(mktemp -d /var/tmp/quisk-root.XXXXXX)
chmod 755 "$target" # apt in the root downloads as its own user
cleanup() {
  # Whatever this script left running inside the root (an X server after a
  # failed check) holds its mounts.
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2> /dev/null)" = "$target" ] && kill "${p#/proc/}" 2> /dev/null
  done
  sleep 1
  for m in dev/pts dev proc; do umount "$target/$m" 2> /dev/null || true; done
  rm -rf --one-file-system "$target"
}
trap cleanup EXIT

step() { echo; echo "== $*"; }
in_root() { chroot "$target" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 XDG_RUNTIME_DIR=/tmp/runtime "$@"; }

step "debootstrap bookworm into $target"
# Downloaded packages are kept between runs; the root itself is new each time.
mkdir -p /var/cache/quisk-debootstrap
debootstrap --variant=minbase --cache-dir=/var/cache/quisk-debootstrap bookworm "$target" \
  "$mirror" > "$target.debootstrap.log" 2>&1 || { tail "$target.debootstrap.log"; exit 1; }
rm -f "$target.debootstrap.log"
mount -t proc proc "$target/proc"
mount --bind /dev "$target/dev"
mount --bind /dev/pts "$target/dev/pts"
mkdir -m 700 "$target/tmp/runtime"
echo "deb $mirror bookworm-updates main" >> "$target/etc/apt/sources.list"
echo "deb http://deb.debian.org/debian-security bookworm-security main" >> "$target/etc/apt/sources.list"
in_root cat /etc/debian_version

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$target/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/$(basename "$deb")" \
  > "$target/tmp/install.log" 2>&1 || { tail -20 "$target/tmp/install.log"; exit 1; }
grep -E '^(Setting up quisk|Unpacking quisk)' "$target/tmp/install.log"
in_root dpkg-query -W -f='${Package} ${Version} ${Status}\n' quisk
in_root sh -c 'ls -l /usr/bin/quisk /usr/bin/quisk-run /usr/share/quisk/Quisk.hlp'
test ! -e "$target$root" || { echo "the build tree is visible in the root" >&2; exit 1; }

step "quisk-run --version, and the sample converted with /usr/bin/quisk-run"
in_root /usr/bin/quisk-run --version
in_root sh -ec 'mkdir -p /root/sample && cp /usr/share/doc/quisk/examples/* /root/sample/ &&
  cd /root/sample && /usr/bin/quisk-run sales.dof; echo "exit status $?";
  iconv -f CP932 -t UTF-8 sales.csv | tr -d "\r"; iconv -f CP932 -t UTF-8 Quisk.log | tr -d "\r"'

step "the main window with /I on the offscreen platform"
# The same job with its own destination and "end the program after the run"
# ticked, so the window closes by itself.
printf '"unattended","sales.txt","unattended.csv","sales.qfd","","1","1"\r\n' \
  > "$target/root/sample/unattended.dof"
in_root sh -ec 'cd /root/sample && QT_QPA_PLATFORM=offscreen timeout 60 /usr/bin/quisk unattended.dof /I;
  echo "exit status $?"; cmp sales.csv unattended.csv && echo "unattended.csv is the same as sales.csv"'

step "F1 in a real window under Xvfb"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  xvfb xauth xdotool > "$target/tmp/xvfb.log" 2>&1 || { tail "$target/tmp/xvfb.log"; exit 1; }
cat > "$target/tmp/f1-check.sh" <<'CHECK'
cd /root/sample
Xvfb :7 -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=:7
/usr/bin/quisk sales.dof > /tmp/quisk.out 2>&1 &
app=$!
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quisk - ')
xdotool windowfocus --sync "$main"
xdotool key F1
sleep 2
echo "windows: $(xdotool search --onlyvisible --name . getwindowname %@ | paste -sd '|')"
xdotool search --onlyvisible --name '^Quiskﾍﾙﾌﾟ$' > /dev/null && found=yes || found=no
xdotool search --onlyvisible --name '^ｴﾗｰ$' > /dev/null && error=yes || error=no
kill "$app" "$xvfb"
echo "help window: $found, error message: $error"
[ "$found" = yes ] && [ "$error" = no ]
CHECK
in_root sh -e /tmp/f1-check.sh

step "installed Quisk works on its own: all checks passed"
