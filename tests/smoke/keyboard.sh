#!/usr/bin/env bash
# A whole 4 x 4 game won with the keyboard on a real X server, keys sent
# without pauses as a quick player types them (the animations still run):
# the layout is read back from a saved game, every swap is made with the
# arrows, Home, Page Up, Space and Enter, and the win brings the statistics
# dialog, whose buttons take clicks at once; N right after it starts a game.
# The sound is off, so that no spoken result holds the screen back.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
start_x 1024x768
cp "$build"/*.bkg "$build"/*.tif "$work"/ 2>/dev/null
cd "$work"

# The strip's menu, as the menu bar lays it out.
menu() {  # menu x, item y
  xdotool mousemove 0 0; sleep 0.5
  xdotool mousemove "$1" 8 click 1; sleep 0.5
  xdotool mousemove 200 "$2" click 1
}
word() { od -An -t d4 -j "$1" -N 4 "$2" | tr -d ' '; }

start_game "$build/SWAPST95"
sleep 0.5
# Quiet: no spoken results, so that what the keys do shows at once.
menu 135 207  # Sound Toggle
menu 135 29   # Play with 4x4 Board
sleep 1
menu 135 253  # Save Game
note=$(wait_window "Important Note" 10) && xdotool windowfocus --sync "$note" key Return
dialog=$(wait_window "Save" 10)
desc="the saved game's dialog opens"; check test -n "$dialog"
xdotool windowfocus --sync "$dialog" type "layout.sw3"
xdotool key Return
for _ in $(seq 50); do [ -s layout.sw3 ] && break; sleep 0.1; done
desc="the game is saved (5712 bytes)"; check test "$(stat -c %s layout.sw3 2>/dev/null)" = 5712

# home[cell] = the cell where the piece lying in `cell` belongs.
declare -a home
for j in 0 1 2 3; do
  for i in 0 1 2 3; do
    at=$(((j * 25 + i) * 4))
    home[$((j * 4 + i))]=$(($(word $((3164 + at)) layout.sw3) * 4 + $(word $((664 + at)) layout.sw3)))
  done
done
keys=()
go_to() { keys+=(Home Prior); for _ in $(seq $(($1 % 4))); do keys+=(Right); done
          for _ in $(seq $(($1 / 4))); do keys+=(Down); done; }
swaps=0
for cell in $(seq 0 15); do
  [ "${home[$cell]}" = "$cell" ] && continue
  for from in $(seq 0 15); do [ "${home[$from]}" = "$cell" ] && break; done
  go_to "$cell"; keys+=(space); go_to "$from"; keys+=(Return)
  home[$from]=${home[$cell]}; home[$cell]=$cell
  swaps=$((swaps + 1))
done
xdotool mousemove 1000 760
xdotool key --delay 30 "${keys[@]}"

box=$(wait_window "Congratulations" 60)
desc="$swaps swaps made with keys alone win the game"; check test -n "$box"
[ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
sleep 1
# The statistics dialog: 620 x 480 in the middle of the screen, two buttons
# under its picture; the view button switches what "Statistics for:" names.
picture() { region 340 20 465 278; }
before=$(picture)
xdotool mousemove 300 604 click 1
changed() { [ "$(picture)" != "$before" ]; }
desc="the statistics dialog's view button takes a click at once"; check_soon changed
title=$(region 40 40 80 80)
xdotool mousemove 700 604 click 1
xdotool key n
sleep 0.5
desc="N right after the statistics dialog starts a game"; check test "$(region 40 40 80 80)" != "$title"
xdotool key m; sleep 0.3; xdotool key alt+p
play_open() { [ "$(menu_x SWAPST95)" = 119 ]; }
desc="M, Alt+P opens the Play menu after the statistics dialog"; check_soon play_open
xdotool key Escape Escape
desc="the game is still running"; check kill -0 "$game"
kill "$game"
await_exit "$game"
finish
