#!/usr/bin/env bash
# The strip's menus from the keyboard alone, on a real X server: M brings the
# strip, Alt and a menu's underlined letter opens that menu, also after any
# box or dialog, however it was opened and closed.  Each case opens a box
# with keys, closes it with keys (no window manager here: the box takes the
# keyboard itself), then types M and Alt+letter at once.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
start_x 1024x768
cp "$build"/*.bkg "$build"/*.tif "$build"/*.hfd "$work"/ 2>/dev/null
cd "$work"

menu_shut() { [ -z "$(menu_x "$program")" ]; }
# M, then Alt+letter: the menu that opens must be `want`'s.
opens() {  # letter, what it should open, what came before
  xdotool key m "alt+$1"
  local x=""
  for _ in $(seq 30); do x=$(menu_x "$program"); [ -n "$x" ] && break; sleep 0.1; done
  desc="M, Alt+$1 opens the $2 menu $3 (at ${x:-no menu}, want ${at[$1]:-?})"
  check test -n "$x" -a "$x" = "${at[$1]:-none}"
  xdotool key Escape Escape
  check_soon menu_shut >/dev/null
}
# Opens a box or dialog by keys, waits for it and closes it by keys.
box() {  # title, closing key, keys that open it...
  local title=$1 close=$2; shift 2
  xdotool key "$@"
  local id; id=$(wait_window "$title" 10)
  desc="$title opens from the keyboard"; check test -n "$id"
  [ -n "$id" ] && sleep 0.3 && xdotool key "$close"
  for _ in $(seq 50); do xdotool search --onlyvisible --name "$title" >/dev/null 2>&1 || break; sleep 0.1; done
}
# One case a line: the box's title, the key that closes it, the keys that
# open it; then the menu's letter, its name, and what the case is.
after_boxes() {
  local title close keys letter name what
  while IFS='|' read -r title close keys letter name what; do
    # shellcheck disable=SC2086  # the keys are words
    box "$title" "$close" $keys
    opens "$letter" "$name" "$what"
  done
}
# Where each menu opens, found with the mouse on the bar.
declare -A at
learn() {  # letter, x on the bar
  xdotool mousemove 0 0; sleep 0.4
  xdotool mousemove "$2" 8 click 1
  for _ in $(seq 20); do at[$1]=$(menu_x "$program"); [ -n "${at[$1]}" ] && break; sleep 0.1; done
  xdotool key Escape Escape; xdotool mousemove 500 500; sleep 0.3
}

program=SWAPST95
start_game "$build/SWAPST95"
sleep 0.5
learn p 135; learn s 177; learn h 355
opens p Play "at the start"
opens s Stats "though Start New Game has the same letter"
after_boxes <<'CASES'
How to Play|Return|F1|p|Play|after How to Play opened with F1 and closed with Enter
How to Play|Escape|m alt+h Return|h|Help|after How to Play opened from the menu and closed with Escape
About|Return|m alt+h a|p|Play|after a message box from the menu
Open|Escape|m alt+u o|p|Play|after a file dialog cancelled
Open|Escape|m alt+s o|s|Stats|after the statistics file's dialog cancelled
CASES
title=$(region 40 40 80 80)
started() { [ "$(region 40 40 80 80)" != "$title" ]; }
xdotool key m alt+p Left Return
desc="Enter on Start New Game, reached with Left from the Play menu, starts a game"; check_soon started
# Alt with any key is the menus': no game key, and the strip stays.
strip_shown() { c=$(pixel 40 8); [ "${c:1:2}" \> "A0" ]; }
xdotool key m alt+z alt+x; sleep 0.5
desc="Alt+Z and Alt+X leave the strip up and the game running"; check eval 'strip_shown && kill -0 $game'
xdotool key Escape
kill "$game"; await_exit "$game"

program=HOTFIELD
start_game "$build/HOTFIELD"
sleep 0.5
learn g 27; learn h 347
opens g Game "at the start"
after_boxes <<'CASES'
Hotfield Detectors|Return|F1|g|Game|after the help dialog opened with F1 and closed with Enter
Hotfield Detectors|Escape|F1|h|Help|after the help dialog closed with Escape
Time Bonuses|Return|m alt+h t|g|Game|after a message box from the menu
Open|Escape|m alt+b c|g|Game|after a file dialog cancelled
CASES
kill "$game"; await_exit "$game"
finish
