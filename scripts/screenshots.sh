#!/usr/bin/env bash
# Takes the manual's screenshots from the real windows: starts Quisk on the
# bundled sample under a private Xvfb display, drives it with xdotool as a
# user would (clicks, right-click, F1, the menus) and saves each window with
# ImageMagick. Run it again whenever a window changes.
#
#   bash scripts/screenshots.sh [FOLDER]   (default: the manual's images/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/src/app/ui/resources/images}")
quisk=$root/build/bin/quisk

missing=()
for p in xvfb xdotool imagemagick fonts-ipafont-gothic qt6-translations-l10n; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -x "$quisk" ] || bash "$root/scripts/build.sh" > /dev/null

# A fixed folder, so the file dialog shows the same path every time.
work=/tmp/quisk-screenshots/sample
rm -rf "$work"
mkdir -p "$work"
display=:$((90 + RANDOM % 100))
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2> /dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
sleep 1
xsetroot -solid '#5a6b80' 2> /dev/null || true

mkdir -p "$out"
cp "$root"/examples/sales.* "$work"/
cd "$work"

# The first visible window whose title matches, waiting for it to appear.
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1; }
# Saves one window as NAME.png.
shot() {
  sleep 0.7
  import -window "$2" "$out/$1.png"
  echo "$out/$1.png"
}
# Saves the screen from the window's top left corner, WIDTH x HEIGHT large,
# for what opens beside a window (a context menu).
shot_area() {
  sleep 0.7
  eval "$(xdotool getwindowgeometry --shell "$2")"
  import -window root -crop "${3}x${4}+${X}+${Y}" +repage "$out/$1.png"
  echo "$out/$1.png"
}
# Clicks at a point of a window, in pixels from its top left corner.
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; }

"$quisk" sales.dof > "$work/quisk.log" 2>&1 &
app=$!
main=$(window '^Quisk - ')
xdotool windowfocus --sync "$main"
shot main-window "$main"

# At 96 DPI a twip is 1/15 pixel; the menu bar is 18 pixels high.
click "$main" 204 159 3 # right-click in the source path box
shot_area context-menu "$main" 520 400
xdotool key Escape
sleep 0.5

click "$main" 416 160 # the source path's browse button
dialog=$(window 'ﾌｧｲﾙを開く')
shot file-dialog "$dialog"
xdotool key Escape
sleep 0.5

xdotool windowfocus --sync "$main"
xdotool key alt+h # ﾍﾙﾌﾟ(&H)
sleep 0.5
xdotool key v # ﾊﾞｰｼﾞｮﾝ情報(&V)
about=$(window '^ﾊﾞｰｼﾞｮﾝ情報$')
shot about-window "$about"
xdotool key Return
sleep 0.5

xdotool windowfocus --sync "$main"
xdotool key F1
help=$(window '^Quiskﾍﾙﾌﾟ$')
xdotool windowsize --sync "$help" 900 640
shot help-window "$help"
xdotool windowfocus --sync "$help"
xdotool key ctrl+f
sleep 0.3
xdotool type --delay 80 'cron'
shot help-search "$help"
xdotool windowunmap --sync "$help"

xdotool windowfocus --sync "$main"
click "$main" 184 30 # ﾌｫｰﾏｯﾄﾌｧｲﾙの編集
chooser=$(window '^ﾌｧｲﾙの選択$')
shot format-chooser "$chooser"
xdotool key Return # the job's own format
editor=$(window 'sales.qfd')
shot format-editor "$editor"

# The preview pane with one deliberate cut: the prefecture made five bytes
# long, which ends it in the middle of its third character.
xdotool windowfocus --sync "$editor"
xdotool key Down Down Right Right Delete 5 Escape
xdotool key alt+d
sleep 0.3
xdotool key p # ﾌﾟﾚﾋﾞｭｰ(&P)
sleep 1
shot format-preview "$editor"

# Suggested boundaries on the same sample under a new, empty format.
kill "$app"
wait "$app" 2> /dev/null || true
"$quisk" sales.dof > "$work/quisk.log" 2>&1 &
app=$!
main=$(window '^Quisk - ')
xdotool windowfocus --sync "$main"
click "$main" 184 30
chooser=$(window '^ﾌｧｲﾙの選択$')
xdotool key Down Down Return # 新規ﾌｧｲﾙの作成
editor=$(window '無題.qfd')
xdotool windowfocus --sync "$editor"
xdotool key alt+d
sleep 0.3
xdotool key g # 区切り位置を推定(&G)
sleep 1
shot format-suggest "$editor"
