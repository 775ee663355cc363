#!/usr/bin/env bash
# Sound on a real sound server: the game plays through a PulseAudio server
# started here (with a null sink), goes on playing after the server is
# restarted under it, and without any server or sound card starts silently,
# writing nothing about it.
set -u
build=$(cd "${1:?build folder}" && pwd)
. "$(dirname "$0")/lib.sh"
command -v pulseaudio >/dev/null && command -v pactl >/dev/null ||
  { echo "smoke: pulseaudio missing, the programs were not started"; finish; exit; }
start_x 1024x768
cp "$build"/*.bkg "$build"/*.tif "$work"/ 2>/dev/null
cd "$work"
# A private server: its own home, socket and settings; clients never start
# one by themselves.
export HOME=$work XDG_RUNTIME_DIR=$work/run PULSE_CLIENTCONFIG=$work/client.conf
mkdir -m 700 "$XDG_RUNTIME_DIR"
echo "autospawn = no" >"$PULSE_CLIENTCONFIG"
unset SDL_AUDIODRIVER
server=""
start_server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    -L module-null-sink -L module-native-protocol-unix >>"$work/server.log" 2>&1 & server=$!; pids+=("$server")
  for _ in $(seq 50); do pactl info >/dev/null 2>&1 && return; sleep 0.1; done
}
stop_server() { kill "$server"; wait "$server" 2>/dev/null; }
# The game's streams on the server.
streams() { pactl list short sink-inputs 2>/dev/null | wc -l; }
playing() { [ "$(streams)" -gt 0 ]; }

# No server, no card: silent, and not a word on the way.
start_game "$build/SWAPST95"
sleep 0.5
xdotool key n; sleep 1
desc="the game runs without any sound device"; check kill -0 "$game"
kill "$game"; await_exit "$game"
desc="and writes nothing about the missing device"; check eval '! grep -qEi "alsa|audio|pulse" "$work/program.log"'

start_server
start_game "$build/SWAPST95"
desc="the game plays through the sound server"; check_soon playing
xdotool key n
sleep 0.5
stop_server
sleep 0.5
start_server
desc="the restarted server has no stream of the game yet"; check test "$(streams)" -eq 0
# The player goes on: a click on a card beeps.
desc="the game's next sounds reach the restarted server"
next_sounds() { xdotool mousemove 300 300 click 1; sleep 0.5; playing; }
check_within 10 next_sounds
desc="the game is still running"; check kill -0 "$game"
kill "$game"; await_exit "$game"
stop_server
finish
