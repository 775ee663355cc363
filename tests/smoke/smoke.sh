#!/usr/bin/env bash
# Starts the real programs on a private X server and drives them with a real
# mouse and keyboard: the game opens full screen with its first-run note,
# drops the menu strip in at the corner pixel, starts a game, and exits with
# code 0 when closed; the install notice exits with 1 after OK.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
start_x 1024x768
corner_light() { c=$(corner); [ "${c:1:2}" \> "A0" ]; }
corner_dark() { c=$(corner); [ "${c:1:2}" \< "60" ]; }
# The colour of a pixel inside the strip's menu bar.
corner() { pixel 40 8; }
cp "$build"/*.bkg "$build"/*.tif "$work"/ 2>/dev/null
cd "$work"
"$build/SWAPST95" >"$work/game.log" 2>&1 & game=$!

desc="the first-run note appears"
note=$(wait_window "Critical Note" 20); check test -n "$note"
desc="the main window covers the screen exactly"
main=$(xdotool search --onlyvisible --name "Swapster, Version 4.1" | head -1)
geo=$(xwininfo -id "$main" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w"x"h}')
check test "$geo" = "1024x768"
xdotool windowfocus --sync "$note" key Return; sleep 1
desc="the game keeps running after OK"; check kill -0 $game

xdotool mousemove 300 300 click 1; sleep 0.5
xdotool mousemove 0 0; sleep 0.5
desc="the menu strip drops in at the corner pixel"
check_soon corner_light
xdotool mousemove 300 300
desc="the strip hides again when the mouse leaves it"
check_soon corner_dark
xdotool mousemove 300 300; sleep 0.3
xdotool key n; sleep 1
# The strip paints over the board; the board under it must come back whole.
board=$(region 1024 80 0 0)
board_back() { [ "$(region 1024 80 0 0)" = "$board" ]; }
for round in 1 2; do
  xdotool mousemove 0 0
  desc="the strip drops in over the board ($round)"; check_soon corner_light
  xdotool mousemove 300 300
  desc="the board under the strip comes back unchanged ($round)"; check_soon board_back
done
xdotool mousemove 100 100 click 1; sleep 0.3
xdotool mousemove 500 500 click 1; sleep 1.5
desc="the game survives a swap"; check kill -0 $game

xdotool key x
ask=$(wait_window "Game in Progress" 10)
desc="closing during a game asks first"; check test -n "$ask"
[ -n "$ask" ] && xdotool windowfocus --sync "$ask" key Return
await_exit $game
desc="the game exits with code 0 (got $code)"; check test "$code" -eq 0

"$build/HOTFIELD" >"$work/field.log" 2>&1 & field=$!
note=$(wait_window "Critical Note" 20)
desc="the mine-field build starts with its note"; check test -n "$note"
[ -n "$note" ] && xdotool windowfocus --sync "$note" key Return
sleep 1
xdotool mousemove 300 300 click 1; sleep 0.3
xdotool key n; sleep 1
xdotool mousemove 200 200 click 1; sleep 1.5
desc="the mine field survives a click"; check kill -0 $field
xdotool key x
await_exit $field
desc="the mine-field build exits with code 0 (got $code)"; check test "$code" -eq 0

# The notice shows its instructions and exits with 1 after OK.
"$build/install" >"$work/install.log" 2>&1 & inst=$!
box=$(wait_window "Installation Instructions" 10)
desc="the install notice shows its instructions"; check test -n "$box"
[ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
await_exit $inst
desc="the install notice exits with 1 after OK (got $code)"; check test "$code" -eq 1

# It starts nothing and asks no bus: strace follows every child.  The leak
# checker of a sanitizer build cannot run under a tracer, so it is off for this
# second run only.
if command -v strace >/dev/null; then
  ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -qq -e trace=execve,connect -o "$work/install.trace" "$build/install" >>"$work/install.log" 2>&1 & inst=$!
  box=$(wait_window "Installation Instructions" 10)
  [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
  await_exit $inst
  desc="the install notice runs no program after itself"
  check test "$(grep -c 'execve(' "$work/install.trace")" -eq 1
  desc="the install notice connects to no bus"
  check test "$(grep -c 'connect(.*bus' "$work/install.trace")" -eq 0
else
  echo "skipped: strace is not installed (Debian package strace)"
fi

finish
