#!/usr/bin/env bash
# Both games on a real Wayland compositor (weston, nested in the private X
# server, whose screen is weston's output) through the toolkit's Wayland
# plugin: the title fills the whole output above the compositor's panel, the
# strip drops in at the output's corner, the help box and the mine field's
# help dialog show whole on the output, and X ends each game with code 0.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
if ! command -v weston >/dev/null || ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1; then
  echo "smoke: weston or the toolkit's Wayland plugin missing, the programs were not started"; finish; exit
fi
start_x 1024x768
cp "$build"/*.bkg "$build"/*.tif "$build"/*.hfd "$build"/*.BKG "$work"/ 2>/dev/null
cd "$work"
export XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY="swapster-$$"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The panel stays (a game that is not full screen lies under it), but its
# launcher starts nothing, should a click land there.
printf '[shell]\npanel-position=top\n[launcher]\nicon=/usr/share/weston/terminal.png\npath=/bin/true\n' >"$work/weston.ini"
weston --config="$work/weston.ini" --backend=x11-backend.so --socket="$WAYLAND_DISPLAY" --width=1024 \
  --height=768 --use-pixman >"$work/weston.log" 2>&1 & pids+=($!)
# The compositor is up once its panel (dark, at the top) is drawn.
panel_up() { c=$(pixel 512 16); [ -n "$c" ] && [ "$c" != "#000000" ] && [ "${c:1:2}" \< "60" ]; }
desc="weston starts with its panel"; check_within 20 panel_up

black() { [ "$(pixel "$1" "$2")" = "#000000" ]; }
covered() { black 1010 16 && black 1 767 && black 1022 767 && black 1010 2; }
corner_light() { c=$(pixel 40 8); [ "${c:1:2}" \> "A0" ]; }
corner_dark() { c=$(pixel 40 8); [ "${c:1:2}" \< "60" ]; }
# Where the toolkit's dialog grey lies on the output below the strip and the
# panel, as W H X Y: the box or dialog with its caption.
grey_box() {
  import -window root -crop 1024x734+0+34 +repage "$work/now.png" 2>/dev/null
  convert "$work/now.png" -fill black +opaque "#EFEFEF" -trim -format '%w %h %X %Y' info: 2>/dev/null
}
# Opens a box with key $1 (or waits for one) and sets W H X Y (output
# coordinates) once it is drawn.
open_box() {
  [ -n "$1" ] && xdotool key "$1"
  local last="" now=""
  for _ in $(seq 60); do
    sleep 0.3
    now=$(grey_box)
    [ -n "$now" ] && [ "$now" = "$last" ] && [ "${now%% *}" -gt 200 ] && break
    last=$now
  done
  read -r W H X Y <<<"${now:-0 0 0 0}"
  X=${X#+}; Y=$((${Y#+} + 34))
}
# Closes the box with Escape, again if the first one came before its keyboard.
no_box() { b=$(grey_box); [ -z "$b" ] || [ "${b%% *}" -le 200 ]; }
close_box() {
  for _ in 1 2 3; do
    xdotool key Escape
    for _ in $(seq 10); do sleep 0.2; no_box && return 0; done
  done
  return 1
}
on_output() { [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + W)) -le 1024 ] && [ $((Y + H)) -le 768 ]; }

play() {  # program, name, least width and height of its help
  local program=$1 name=$2
  QT_QPA_PLATFORM=wayland "$build/$program" >>"$work/program.log" 2>&1 & game=$!; pids+=("$game")
  desc="$name: the title fills the output, over the panel"; check_within 20 covered
  xdotool mousemove 500 700
  open_box ""  # the first-run note
  desc="$name: the first-run note shows whole on the output (${W}x$H+$X+$Y)"
  check test "$W" -ge 300 -a "$H" -ge 100 -a -n "$(on_output && echo y)"
  desc="$name: Escape closes the note"; check close_box
  # A click gives the game back the keyboard the note had.
  xdotool mousemove 300 300 click 1; sleep 1
  xdotool mousemove 0 0
  desc="$name: the strip drops in at the output's corner"; check_soon corner_light
  xdotool mousemove 135 8 click 1
  menu_open() { c=$(pixel 150 40); [ "${c:1:2}" \> "D0" ]; }
  desc="$name: a menu of the strip opens under its menu bar"; check_soon menu_open
  xdotool key Escape; sleep 0.3
  xdotool mousemove 300 300 click 1 sleep 0.5 mousemove 310 310
  desc="$name: the strip hides again"; check_soon corner_dark
  open_box F1
  desc="$name: the help shows whole on the output (${W}x$H+$X+$Y)"
  check test "$W" -ge "$3" -a "$H" -ge "$4" -a -n "$(on_output && echo y)"
  desc="$name: Escape closes the help"; check close_box
  desc="$name: the title is back over the whole output"; check_soon covered
  # The compositor hands the keyboard back to the game a moment after the box
  # has gone; a click makes sure of it.
  xdotool mousemove 300 300 click 1 sleep 0.5 key n; sleep 1
  if [ "$program" = SWAPST95 ]; then
    open_box x
    desc="$name: X during a game asks first (${W}x$H+$X+$Y)"; check test "$W" -ge 200
    xdotool key Return
  else
    xdotool key x
  fi
  await_exit $game
  desc="$name: X ends the game with code 0 (got $code)"; check test "$code" -eq 0
}
# The mine field's help: its 360 x 380 client area and a caption above it.
play SWAPST95 "the swap puzzle" 300 100
play HOTFIELD "the mine field" 360 400
finish
