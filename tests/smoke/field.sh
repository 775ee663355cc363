#!/usr/bin/env bash
# A whole mine-field game won on a real X server: the options file asks for
# the easy 12 x 8 field, a click on every square clears it (the few bombs
# among them explode), the spoken score and the record follow, the name
# typed goes into hfdscore, and the game exits with code 0.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
start_x 1024x768
cp "$build"/*.hfd "$build"/*.BKG "$work"/ 2>/dev/null
cd "$work"

# hfd.opt: sound on, no paths, then the marked record: level 10, 12 x 8, full
# screen, the first-run note dismissed, the clock shown, amateur mode.
word() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24)); }
{
  printf "$(word 1)"; head -c 512 /dev/zero
  printf 'valid\0'; for v in 10 12 8 0 1 1 0; do printf "$(word "$v")"; done
  head -c 996 /dev/zero
} >hfd.opt
desc="the options file is 1546 bytes"; check test "$(stat -c %s hfd.opt)" -eq 1546

"$build/HOTFIELD" >"$work/field.log" 2>&1 & game=$!; pids+=("$game")
title=$(wait_window "Hotfield" 20)
sleep 1
desc="the mine field starts without its first-run note"
check test -n "$title" -a -z "$(xdotool search --onlyvisible --name "Critical Note" 2>/dev/null)"
xdotool mousemove 500 400 click 1 sleep 0.3 key n
sleep 1
for row in 0 1 2 3 4 5 6 7; do
  for column in 0 1 2 3 4 5 6 7 8 9 10 11; do
    xdotool mousemove $(((2 * column + 1) * 1024 / 24)) $(((2 * row + 1) * 768 / 16)) click 1
  done
done
name=$(wait_window "Enter Your Name" 60)
desc="clearing the field sets a record and asks for a name"; check test -n "$name"
[ -n "$name" ] && xdotool windowfocus --sync "$name" type Tester && xdotool key Return
score=$(wait_window "High Score for" 10)
desc="the record shows in the high-score box"; check test -n "$score"
[ -n "$score" ] && xdotool windowfocus --sync "$score" key Return
holder() { [ "$(stat -c %s hfdscore 2>/dev/null)" = 1304 ] && [ "$(dd if=hfdscore bs=1 skip=288 count=6 2>/dev/null)" = Tester ]; }
desc="hfdscore holds the record under the name typed"; check_soon holder
xdotool key x
await_exit "$game"
desc="the mine-field build exits with code 0 (got $code)"; check test "$code" -eq 0

finish
