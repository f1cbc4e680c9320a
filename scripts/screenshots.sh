#!/usr/bin/env bash
# Takes the manual's pictures of the real windows: builds, then starts Brelix on a virtual
# display with a window manager, in a program folder of its own, and saves PNG files into
# docs/images/. The windows are driven with xdotool as a user would: menus, clicks, keys.
#
#   scripts/screenshots.sh [--no-build]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -z "${BRELIX_SHOTS_DISPLAY:-}" ]; then
  [ "${1:-}" = "--no-build" ] || bash scripts/build.sh
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
       env BRELIX_SHOTS_DISPLAY=1 bash "$0" --no-build
fi

out=$root/docs/images
mkdir -p "$out"
# A fixed, short folder name: it shows in the file boxes and the folder list.
home=/tmp/brelix-manual
rm -rf "$home"
mkdir -p "$home/runtime" "$home/Brelix"
chmod 700 "$home/runtime"
export HOME=$home XDG_RUNTIME_DIR=$home/runtime BRELIX_HOME=$home/Brelix LANG=C.UTF-8
cp -r build/bin/Brelix_Format.xls build/bin/Brelix.html build/bin/テストデータ "$BRELIX_HOME"

pids=()
cleanup() {
  # Offices handed over to the "user" end with the display anyway; these are ours by id.
  for record in "$XDG_RUNTIME_DIR"/brelix-office-*/*/instance; do
    [ -f "$record" ] || continue
    office=$(awk '{print $2}' "$record")
    kill "$office" 2>/dev/null || true
  done
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  sleep 1
  rm -rf "$home"
}
trap cleanup EXIT

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The settings of one start: the mode and the folder of the search and print screens.
settings() {
  printf '[KIND  ]%s\r\n[COLOR ]1\r\n[DAISYO]0\r\n[HYOUJI]0\r\n[FRONT ]0\r\n' "$1" \
    >"$BRELIX_HOME/Brelix.ini"
  printf '[PRINT ]%s\r\n[GREP  ]りんご\r\n[GREP  ]合計\r\n[Sheet ]0\r\n' \
    "$BRELIX_HOME/テストデータ" >>"$BRELIX_HOME/Brelix.ini"
  printf '[PATRN ]0\r\n[TOOLBR]2\r\n[HIKAKU]0\r\n[DIFFCL]7\r\n[READY ]0\r\n' >>"$BRELIX_HOME/Brelix.ini"
  # No office kept ready: the progress window stays up while the office starts.
}

# Starts Brelix and waits for the window titled $1; sets $window and $program, and $HEIGHT, the
# height of its client area.
start() {
  local title=$1
  shift
  build/bin/brelix "$@" >/dev/null 2>&1 &
  program=$!
  window=$(xdotool search --sync --onlyvisible --name "^${title}\$" | head -1)
  xdotool windowmove "$window" 40 40
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
}

stop() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}

# The window with its frame, or with "screen" the whole display.
shot() {
  local name=$1 target=${2:-$window}
  sleep 0.7
  if [ "$target" = screen ]; then
    import -window root "$out/$name.png"
  else
    import -frame -window "$target" "$out/$name.png"
  fi
  echo "docs/images/$name.png"
}

# Clicks at a point of the window's client area.
click() {
  xdotool mousemove --window "$window" "$1" "$2" click "${3:-1}"
  sleep 0.5
}

# Points of the main window's client area, as the Japanese font lays it out (x y).
menu_options="170 10"      # ｵﾌﾟｼｮﾝ
menu_target="197 99"       # ｵﾌﾟｼｮﾝ → 比較対象
menu_colours="200 143"     # ｵﾌﾟｼｮﾝ → 比較背景色
menu_compare="200 187"     # ｵﾌﾟｼｮﾝ → 比較の設定...
menu_version="277 10"      # バージョン
# 比較開始 is at the foot of the window and the file list in its middle: see start().

settings 0
start "Brelix - diff" xls
shot compare
click $menu_options
xdotool mousemove --window "$window" $menu_target
sleep 0.7
import -window root -crop 560x270+30+10 +repage "$out/options.png"
echo docs/images/options.png
click $menu_options
click $menu_options
click $menu_colours
colours=$(xdotool search --sync --onlyvisible --name '^設定$' | head -1)
shot colours "$colours"
# Its close box acts as 取消.
xdotool windowfocus --sync "$colours" key alt+F4
sleep 0.5
click $menu_options
click $menu_compare
compare_options=$(xdotool search --sync --onlyvisible --name '^比較の設定$' | head -1)
shot compare-options "$compare_options"
xdotool windowfocus --sync "$compare_options" key Escape
sleep 0.5
click $menu_version
about=$(xdotool search --sync --onlyvisible --name 'バージョン情報$' | head -1)
shot about "$about"
xdotool windowfocus --sync "$about" key Return
sleep 0.5

# A comparison of the test workbooks: the progress window, then the office with the result.
click 104 $((HEIGHT - 25))
progress=$(xdotool search --sync --onlyvisible --name '^Brelix$' | head -1)
# It is up while the office starts; a picture taken before it is drawn is blank and small.
for _ in 1 2 3 4 5; do
  # The window goes when the office has started; the last good picture stays.
  shot progress "$progress" >/dev/null 2>&1 || break
  [ "$(stat -c %s "$out/progress.png")" -lt 2000 ] || break
done
echo docs/images/progress.png
history=$(timeout 60 xdotool search --sync --onlyvisible --name 'Brelix.xls' | head -1)
sleep 5
shot result screen
# The change history on its own, raised and made large enough to show its rows.
xdotool windowactivate --sync "$history" windowmove "$history" 0 0 windowsize "$history" 1024 360
sleep 3
import -window root -crop 1024x360+0+0 +repage "$out/history.png"
echo docs/images/history.png
stop

# The search and print screens with both test workbooks selected.
select_two() {
  click 60 $((HEIGHT / 2))
  xdotool key ctrl+a
}

settings 1
start "Brelix - grep"
select_two
shot search
stop

settings 2
start "Brelix - print"
select_two
shot print
stop
