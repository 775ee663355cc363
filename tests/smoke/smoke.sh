#!/usr/bin/env bash
# Starts the real programs on a private X server and drives them with a real
# mouse and keyboard: the game opens full screen with its first-run note,
# drops the menu strip in at the corner pixel, starts a game, and exits with
# code 0 when closed; the install notice exits with 1 after OK.
set -u
build=${1:?build folder}
for tool in Xvfb xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool missing, skipped"; exit 0; }
done
work=$(mktemp -d)
trap 'kill $xpid 2>/dev/null; rm -rf "$work"' EXIT
for n in $(seq 120 160); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
export DISPLAY=":$n"
unset QT_QPA_PLATFORM
export SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fails=0
check() { if "$@"; then echo "ok: $desc"; else echo "FAILED: $desc"; fails=$((fails + 1)); fi; }
# The same, but the condition may take a few seconds to come true on a busy machine.
check_soon() {
  for _ in $(seq 50); do "$@" && { echo "ok: $desc"; return; }; sleep 0.1; done
  echo "FAILED: $desc"; fails=$((fails + 1))
}
# Waits up to 10 s for a program to end and sets `code` to its exit code
# (124 when it had to be stopped).
await_exit() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then kill "$1"; wait "$1" 2>/dev/null; code=124; return; fi
  wait "$1"; code=$?
}
corner_light() { c=$(corner); [ "${c:1:2}" \> "A0" ]; }
corner_dark() { c=$(corner); [ "${c:1:2}" \< "60" ]; }
# The colour of a pixel inside the strip's menu bar.
corner() { import -window root -crop 1x1+40+8 -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1; }
wait_window() {  # name, seconds
  for _ in $(seq $(($2 * 10))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

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

"$build/install" >"$work/install.log" 2>&1 & inst=$!
box=$(wait_window "Installation Instructions" 10)
desc="the install notice shows its instructions"; check test -n "$box"
[ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
await_exit $inst
desc="the install notice exits with 1 after OK (got $code)"; check test "$code" -eq 1

echo "$((15 - fails)) passed, $fails failed"
[ "$fails" -eq 0 ]
