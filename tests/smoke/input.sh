#!/usr/bin/env bash
# Input is taken the moment it arrives, and the desktop can end the game.
# A real X server and a real mouse, driven as a quick player does: clicks
# fired with the pointer move that brings them (the running clock redraws on
# that move), a click during a swap, a key right after a message box closes,
# and SIGTERM / SIGINT / SIGHUP in the idle loop and while a box is open.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
start_x 1024x768
cp "$build"/*.bkg "$build"/*.tif "$build"/*.hfd "$work"/ 2>/dev/null
cd "$work"

# On a 1024 x 768 screen a 6 x 6 cell is 170 x 128 pixels.  A cell's state
# shows in a patch of it: the card back while face down, the picture while
# selected.
cell_patch() { region 20 20 $(($1 * 170 + 140)) $(($2 * 128 + 100)); }

start_game "$build/SWAPST95"
sleep 0.5

desc="a key right after a message box closes is taken at once"
xdotool mousemove 300 700
xdotool key F1
box=$(wait_window "How to Play" 10)
title=$(region 40 40 80 80)
xdotool windowfocus --sync "$box" key Return
xdotool key n
sleep 0.3
check test "$(region 40 40 80 80)" != "$title"

# The clock starts with its centre at (548, 348) and steps 10 pixels away
# from the pointer on every move within 145 pixels of it.  Each round moves
# the pointer to its upper left (the clock steps down and right), then clicks
# at its lower right with the move that brings the click (the clock steps
# back), so every click comes with a clock redraw and lands on cell (3, 3).
face_down=$(cell_patch 3 3)
taken=0
selected=0
for _ in $(seq 20); do
  xdotool mousemove 488 288
  xdotool mousemove 608 408 click 1
  sleep 0.3
  now=$(cell_patch 3 3)
  if [ $selected = 0 ]; then [ "$now" != "$face_down" ]; else [ "$now" = "$face_down" ]; fi && taken=$((taken + 1))
  # Whatever happened, follow the cell's real state.
  [ "$now" != "$face_down" ] && selected=1 || selected=0
done
desc="clicks next to the running clock select their cell at once ($taken of 20)"
check test "$taken" -eq 20
[ $selected = 1 ] && { xdotool mousemove 608 408 click 1; sleep 0.3; }

desc="a click during a swap is taken right after it"
corner_cell=$(cell_patch 5 0)
xdotool mousemove 85 64 click 1
sleep 0.3
xdotool mousemove 935 704 click 1 mousemove 935 64 click 1
# The swap's outline crosses the board in about a second.
corner_selected() { [ "$(cell_patch 5 0)" != "$corner_cell" ]; }
check_soon corner_selected

# Ending from the desktop: no question, the lists kept, exit status 0.
ends_cleanly() {  # signal, list file
  rm -f "$2"
  local t0=$(date +%s%N)
  kill -"$1" "$game"
  for _ in $(seq 40); do kill -0 "$game" 2>/dev/null || break; sleep 0.05; done
  local ms=$((($(date +%s%N) - t0) / 1000000))
  await_exit "$game"
  desc="$1 ends the game within 2 s (took $ms ms, exit code $code)"
  check test "$code" -eq 0 -a "$ms" -lt 2000
  desc="$1 leaves the recent-file list $2 written"
  check test "$(stat -c %s "$2" 2>/dev/null)" = 6000
}
desc="the swap puzzle is still running"; check kill -0 "$game"
ends_cleanly TERM swpflist

# While a box waits for an answer.
"$build/SWAPST95" >>"$work/program.log" 2>&1 & game=$!
wait_window "Swapster, Version" 20 >/dev/null
sleep 2  # the start-up sound
xdotool key n; sleep 0.3
xdotool key x
wait_window "Game in Progress" 20 >/dev/null
ends_cleanly INT swpflist

"$build/HOTFIELD" >>"$work/program.log" 2>&1 & game=$!
wait_window "Critical Note" 20 >/dev/null
ends_cleanly TERM hfdflist
start_game "$build/HOTFIELD"
sleep 0.5
xdotool key n; sleep 0.5
ends_cleanly HUP hfdflist

finish
