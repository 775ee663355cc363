#!/usr/bin/env bash
# The swap puzzle on two X11 desktops a player may have: two monitors with the
# primary one on the right, where the game fills the primary monitor and its
# strip drops in at that monitor's corner; and a window manager, under which
# full screen is the desktop's full-screen state and the normal window is a
# decorated window wholly on the screen that can be minimised.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
for tool in xrandr openbox xprop; do
  command -v "$tool" >/dev/null || { echo "smoke: $tool missing, the programs were not started"; finish; exit; }
done
cp "$build"/*.bkg "$build"/*.tif "$work"/ 2>/dev/null
cd "$work"
geometry() {  # window: X Y W H of its client area
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2}
    /Height:/{h=$2} END{print x, y, w, h}'
}
light() { c=$(pixel "$1" "$2"); [ "${c:1:2}" \> "A0" ]; }
dark() { c=$(pixel "$1" "$2"); [ "${c:1:2}" \< "60" ]; }
main_window() { xdotool search --onlyvisible --name "Swapster, Version 4.1" | head -1; }

# A 1920 x 1080 monitor on the left, the primary 2560 x 1440 one on its right.
start_x 4480x1440
xrandr --setmonitor L 1920/508x1080/286+0+0 none >/dev/null
xrandr --setmonitor '*R' 2560/677x1440/381+1920+0 none >/dev/null
start_game "$build/SWAPST95"
sleep 1
desc="two monitors: the game fills the primary monitor on the right"
check test "$(geometry "$(main_window)")" = "1920 0 2560 1440"
xdotool mousemove 2500 700 click 1 sleep 0.5 mousemove 1920 0
desc="two monitors: the strip drops in at that monitor's corner"; check_soon light 1960 8
xdotool mousemove 2500 700
desc="two monitors: the strip hides again"; check_soon dark 1960 8
xdotool key x
await_exit $game
desc="two monitors: the game exits with code 0 (got $code)"; check test "$code" -eq 0
kill "$xpid"; wait "$xpid" 2>/dev/null
rm -f "$work/display"

start_x 1024x768
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
start_game "$build/SWAPST95"
sleep 1
main=$(main_window)
desc="window manager: full screen is the desktop's full-screen state"
check_soon grep -q _NET_WM_STATE_FULLSCREEN <<<"$(xprop -id "$main" _NET_WM_STATE)"
desc="window manager: the full screen covers the screen"; check test "$(geometry "$main")" = "0 0 1024 768"
# Play > Screen Mode > Normal Window, from the keyboard.
xdotool mousemove 500 500 click 1 sleep 0.5 key m sleep 0.3 key alt+p sleep 0.5 key m sleep 0.5 key n
frame_top() { xprop -id "$main" _NET_FRAME_EXTENTS | awk -F'[=,]' '{print $4 + 0}'; }
captioned() { read -r x y w h <<<"$(geometry "$main")"; t=$(frame_top); [ "${t:-0}" -gt 0 ] && [ "$y" -ge "$t" ]; }
desc="window manager: the normal window has its caption on the screen"; check_within 10 captioned
read -r x y w h <<<"$(geometry "$main")"
desc="window manager: the normal window lies wholly on the screen (${w}x$h+$x+$y)"
check test "$x" -ge 0 -a $((x + w)) -le 1024 -a $((y + h)) -le 768 -a "$h" -lt 768
xdotool windowminimize "$main"
iconic() { xprop -id "$main" WM_STATE | grep -q Iconic; }
desc="window manager: the normal window can be minimised"; check_soon iconic
xdotool windowactivate "$main" 2>/dev/null; sleep 1
xdotool key x
await_exit $game
desc="window manager: the game exits with code 0 (got $code)"; check test "$code" -eq 0
finish
