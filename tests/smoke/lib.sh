# Shared by the smoke tests: a private X server, checks that count failures,
# and ways to wait for windows, exits and pixels without fixed pauses.
# Source it, then call start_x SIZE.

fails=0
passes=0
work=$(mktemp -d)
xpid=""
pids=()  # programs to stop, whatever happens
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# The programs talk X11 to the private server, even when the tests run inside
# a Wayland session.
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
export SDL_AUDIODRIVER=dummy

start_x() {  # WxH
  for tool in Xvfb xdotool xwininfo xdpyinfo import; do
    command -v "$tool" >/dev/null || { echo "smoke: $tool missing, the programs were not started"; finish; exit; }
  done
  # The server picks a free display itself, so that runs side by side never
  # share one.  -noreset: by default the server resets whenever its last
  # client leaves, and a program starting during the reset cannot connect.
  Xvfb -displayfd 3 -noreset -screen 0 "${1}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 & xpid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -1 "$work/display")"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

pass() { echo "ok: $desc"; passes=$((passes + 1)); }
fail() { echo "FAILED: $desc"; fails=$((fails + 1)); }
check() { if "$@"; then pass; else fail; fi; }
# The same, but the condition may take a few seconds to come true on a busy
# machine: tried every 0.1 s for up to 5 s.
check_soon() { check_within 5 "$@"; }
check_within() {  # seconds, command...
  local until=$((SECONDS + $1)); shift
  while :; do
    "$@" && { pass; return; }
    [ $SECONDS -ge $until ] && break
    sleep 0.1
  done
  fail
}
finish() {
  echo "$passes passed, $fails failed"
  [ "$fails" -eq 0 ]
}

# Waits up to 10 s for a program to end and sets `code` to its exit code
# (124 when it had to be stopped).
await_exit() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then kill -9 "$1"; wait "$1" 2>/dev/null; code=124; return; fi
  wait "$1"; code=$?
}
wait_window() {  # name, seconds
  for _ in $(seq $(($2 * 10))); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# A short fingerprint of a screen rectangle: W H X Y.
region() { import -window root -crop "$1x$2+$3+$4" -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-12; }
# The colour of one screen pixel as #RRGGBB.
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1; }
# The left edge of the program's open menu (a window of its own, named after
# the program), or nothing while no menu is open.
menu_x() {  # program
  local id
  for id in $(xwininfo -root -children 2>/dev/null | awk -v n="\"$1\":" '$2 == n && $3 ~ /^\("/ {print $1}'); do
    xwininfo -id "$id" 2>/dev/null | awk '/Absolute upper-left X/{x=$4} /IsViewable/{v=1} END{if (v) print x}'
  done | head -1
}
# Starts a program from the work folder and answers its first-run note with
# Cancel, so that later starts skip it.  Sets `game`.
start_game() {  # program [args]
  "$@" >>"$work/program.log" 2>&1 & game=$!; pids+=("$game")
  local note
  note=$(wait_window "Critical Note" 20) || return 1
  xdotool windowfocus --sync "$note" key Escape
}
