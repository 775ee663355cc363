#!/usr/bin/env bash
# The pause on a real X server: P covers the board and any key brings it back
# exactly as it was, in both builds; a message box of the game's own leaves
# the game running, another program taking the keyboard pauses it, and a
# click brings it back.  (The other program comes first: with no window
# manager here, nothing hands the keyboard back to the game after a box.)  The pixels compared lie above and below the band
# where the running clock starts, and the pointer stays far from the clock.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
start_x 1024x768
cp "$build"/*.bkg "$build"/*.tif "$build"/*.hfd "$build"/*.BKG "$work"/ 2>/dev/null
cd "$work"

board() { echo "$(region 1024 250 0 0) $(region 1024 300 0 468)"; }
covered() { [ "$(pixel 5 5)" = "#000000" ] || [ "$(board)" != "$before" ]; }
uncovered() { [ "$(board)" = "$before" ]; }

for program in SWAPST95 HOTFIELD; do
  start_game "$build/$program"
  sleep 0.5
  xdotool mousemove 1000 740 key n
  sleep 1.5  # the best score may be spoken
  [ "$program" = SWAPST95 ] && { xdotool mousemove 85 64 click 1 mousemove 1000 740; sleep 0.3; }
  before=$(board)
  xdotool key p
  desc="$program: P covers the board"; check_soon covered
  if [ "$program" = SWAPST95 ]; then
    desc="$program: the cover is black with the title picture"; check test "$(pixel 5 5)" = "#000000"
  fi
  xdotool key a
  desc="$program: a key brings the board back unchanged"; check_soon uncovered
  [ "$program" = HOTFIELD ] && break

  # Another program takes the keyboard: the game pauses by itself.
  "$build/install" >>"$work/program.log" 2>&1 & notice=$!; pids+=("$notice")
  box=$(wait_window "Installation Instructions" 10)
  desc="$program: another program's window pauses the game"; check_soon covered
  [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
  await_exit "$notice"
  xdotool mousemove 600 700 click 1 mousemove 1000 740
  desc="$program: a click brings the board back unchanged"; check_soon uncovered

  # A box of the game's own takes the keyboard: the game goes on.
  xdotool key F1
  box=$(wait_window "How to Play" 10)
  sleep 1
  [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
  sleep 0.5
  desc="$program: its own message box does not pause the game"; check uncovered
  kill "$game"
  await_exit "$game"
done
desc="the mine field is still running"; check kill -0 "$game"
kill "$game"
await_exit "$game"
finish
