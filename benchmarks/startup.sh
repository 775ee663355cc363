#!/usr/bin/env bash
# Start-up figures on a real X server: the time from starting SWAPST95 to its
# title picture on the screen, and its peak memory after start-up, beside the
# same figures of a minimal Qt program that does the necessary work (decode
# the puzzle picture, scale it smoothly to the screen, show the title centred
# on a black full-screen window).  The first-run note is already dismissed.
#
#   benchmarks/startup.sh [BUILD-FOLDER] [RUNS] [SIZES...]
#
# Defaults: build, 7 runs, 1024x768 1920x1080 3840x2160.  Medians are shown;
# run it on a quiet machine.  GAME=path/to/SWAPST95 measures another build of
# the game (its pictures are looked for beside it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
shift $(( $# > 2 ? 2 : $# ))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1024x768 1920x1080 3840x2160)
cmake --build "$build" --target SWAPST95 game_data startup_yardstick startup_probe >/dev/null
game=${GAME:-$build/SWAPST95}
title=$PWD/resources/pictures/EGG.png
work=$(mktemp -d)
xpid=""
trap '[ -n "$xpid" ] && kill "$xpid" 2>/dev/null; rm -rf "$work"' EXIT

# An options file as the game writes it, with the first-run note dismissed:
# sound on, no paths, "valid", full screen, 6 x 6 face down with statistics,
# note 1, clock on, then the reserved bytes.
options() {
  {
    printf '\001\0\0\0'; head -c 512 /dev/zero
    printf 'valid\0' ; printf '\0\0\0\0\006\0\0\0\001\0\0\0\001\0\0\0\006\0\0\0\006\0\0\0\001\0\0\0\001\0\0\0'
    head -c 1000 /dev/zero
  } >"$1/swapster.opt"
}

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

export SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR="$work"
printf '%-10s %12s %12s %7s   %12s %12s %7s\n' size "game ms" "minimal ms" ratio "game MiB" "minimal MiB" ratio
for size in "${sizes[@]}"; do
  for n in $(seq 80 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -noreset -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 & xpid=$!
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  : >"$work/game" ; : >"$work/minimal"
  for run in $(seq "$runs"); do
    rm -rf "$work/run"; mkdir "$work/run"; options "$work/run"
    (cd "$work/run" && "$build/startup_probe" "$title" 2500 -- "$game" "$(dirname "$game")/") >>"$work/game"
    (cd "$work/run" && "$build/startup_probe" "$title" 2500 -- "$build/startup_yardstick" "$build") >>"$work/minimal"
  done
  kill "$xpid"; wait "$xpid" 2>/dev/null || true; xpid=""
  gt=$(cut -d' ' -f1 "$work/game" | median); mt=$(cut -d' ' -f1 "$work/minimal" | median)
  gm=$(cut -d' ' -f2 "$work/game" | median); mm=$(cut -d' ' -f2 "$work/minimal" | median)
  awk -v s="$size" -v gt="$gt" -v mt="$mt" -v gm="$gm" -v mm="$mm" 'BEGIN {
    printf "%-10s %12.1f %12.1f %6.2fx   %12.1f %12.1f %6.2fx\n", s, gt, mt, gt / mt, gm / 1024, mm / 1024, gm / mm }'
done
echo "goal: both ratios <= 1.5x at every size"
