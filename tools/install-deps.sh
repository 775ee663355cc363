#!/usr/bin/env bash
# Installs the Debian packages of the named groups when any of them is
# missing; safe to run again, it does nothing once all are in.
#
#   tools/install-deps.sh          what building and playing need (run.sh)
#   tools/install-deps.sh tests    that, and what the tests, the Debian
#                                  package and the hardened check use (test.sh)
#
# Runs apt-get as root, or through sudo for another user.  apt's own output
# goes to a log file, shown only when something fails.
set -euo pipefail

# ------------------------------------------------- the groups, in one place ---
# Building and playing: the compiler and CMake, the libraries the game is
# built on, GoogleTest (the build configures the tests too) and the font the
# game draws its texts in.
play=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libmagick++-dev
  libsdl2-dev
  libgtest-dev
  fonts-dejavu-core
)
# The tests and packaging: a private X server and a mouse for the smoke
# tests, ImageMagick's tools to read the screen, Python for the check of the
# folders' includes (tools/check-layers), the validators and lintian
# for the installed game, dpkg-dev for the package's dependencies, an SVG
# renderer for the icons, clang with its sanitizer and fuzzer runtimes
# for tools/check-hardened.sh, strace to watch what the install notice
# starts, a sound server to restart under the game, and a Wayland compositor
# with the toolkit's Wayland plugin, a window manager and the screen-layout
# tool for the desktop smoke tests.
tests=(
  xvfb xdotool x11-utils imagemagick python3 strace
  weston qt6-wayland openbox x11-xserver-utils
  desktop-file-utils appstream lintian dpkg-dev file
  librsvg2-bin
  clang libclang-rt-14-dev
  pulseaudio pulseaudio-utils
)

# ------------------------------------------------------------------------------
me=tools/install-deps.sh
wanted=("${play[@]}")
for group in "$@"; do
  case $group in
    play) ;;
    tests) wanted+=("${tests[@]}") ;;
    *) echo "$me: no group '$group' (the groups are: play, tests)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "$me: these Debian packages are missing: ${missing[*]}; install them as root, or install sudo and run this again" >&2
  exit 1
fi

log=$(mktemp "${TMPDIR:-/tmp}/install-deps.XXXXXX.log")
failed() {
  echo "$me: $1 failed; the last lines of $log:" >&2
  tail -n 25 "$log" >&2
  exit 1
}
echo "Installing Debian packages: ${missing[*]} (and what they need)"
[ ${#as_root[@]} -eq 0 ] || echo "  (through sudo, which may ask for your password)"
"${as_root[@]}" env LC_ALL=C apt-get update >"$log" 2>&1 || failed "apt-get update"
# How much is coming, from apt's own plan (it answers no to its question).
plan=$("${as_root[@]}" env LC_ALL=C apt-get install --no-install-recommends --assume-no "${missing[@]}" 2>&1 || true)
printf '%s\n' "$plan" >>"$log"
grep -q '^E: ' <<<"$plan" && failed "apt-get install"
count=$(sed -n 's/.* \([0-9]*\) newly installed.*/\1/p' <<<"$plan")
fetch=$(sed -n 's/^Need to get \([0-9.,]* [kMG]*B\).*/\1/p' <<<"$plan")
disk=$(sed -n 's/^After this operation, \(.*\) of additional disk space.*/\1/p' <<<"$plan")
word=packages; [ "${count:-}" = 1 ] && word=package
echo "  ${count:-some} $word${fetch:+, $fetch to download}${disk:+, $disk on disk}"
start=$SECONDS
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  -o Dpkg::Use-Pty=0 "${missing[@]}" >>"$log" 2>&1 || failed "apt-get install"
echo "  done in $((SECONDS - start)) s"
rm -f "$log"
