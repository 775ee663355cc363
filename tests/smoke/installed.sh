#!/usr/bin/env bash
# The installed game, as a player finds it: installs the build into a
# temporary DESTDIR (prefix given at install time), checks what lands where,
# makes the Debian package and has lintian look at it, validates the menu
# entries and AppStream metainfo, asks the launchers for
# --help and --version, then starts each installed launcher on a private X
# server with HOME a temporary folder: the first-run note appears, Cancel
# writes the options file into ~/.local/share/<game>/, the title picture
# shows, and the game's pictures come from the installed data folder; with
# no folder to keep its files in, a launcher starts its game in a temporary
# one and the game says that the results cannot be kept.
set -u
build=${1:?build folder}
source=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/lib.sh"
# A failed screen check keeps its last screenshot for a look.
fail() {
  echo "FAILED: $desc"; fails=$((fails + 1))
  if [ -f "$work/screen.png" ] && [ -d "$build/Testing/Temporary" ]; then
    cp "$work/screen.png" "$build/Testing/Temporary/installed-failed-$fails.png" &&
      echo "  (screen kept as $build/Testing/Temporary/installed-failed-$fails.png)"
  fi
}

# --------------------------------------------------------------- install ---
root=$work/root
prefix=/usr
DESTDIR=$root cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1
desc="cmake --install into a DESTDIR with --prefix $prefix"; check test $? -eq 0
p=$root$prefix
data=$p/share/swapster
desc="the launchers swapster and hotfield, and nothing else, are in bin/"
check test "$(cd "$p/bin" 2>/dev/null && ls | tr '\n' ' ')" = "hotfield swapster "
desc="the programs are in lib/swapster/"
check test -x "$p/lib/swapster/SWAPST95" -a -x "$p/lib/swapster/HOTFIELD" -a -x "$p/lib/swapster/install"
desc="the data files are in share/swapster/"
check test -f "$data/cathedra.bkg" -a -f "$data/swpstats.tif" -a -f "$data/rosewood.hfd" -a -f "$data/PLANET_R.BKG"
desc="the manual pages are in share/man/man6/"
check test -f "$p/share/man/man6/swapster.6.gz" -a -f "$p/share/man/man6/hotfield.6.gz"
icons_ok() {
  for n in 16 32 48 64 128 256; do
    for name in swapster hotfield; do
      f=$p/share/icons/hicolor/${n}x$n/apps/$name.png
      [ -f "$f" ] || return 1
      if command -v identify >/dev/null; then
        [ "$(identify -format '%wx%h' "$f")" = "${n}x$n" ] || return 1
      fi
    done
  done
}
desc="both icons in the hicolor theme at 16 to 256 pixels, each its own size"; check icons_ok

# ---------------------------------------------------- the Debian package ---
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1
  deb=$(ls "$work"/package/swapster_*.deb 2>/dev/null | head -1)
  desc="cpack -G DEB makes swapster_*.deb"; check test -n "$deb"
  if [ -n "$deb" ]; then
    dpkg-deb -c "$deb" >"$work/contents"
    desc="the package keeps the launchers in /usr/games and the programs in /usr/lib/swapster/"
    check grep -q ' ./usr/games/swapster$' "$work/contents"
    check grep -q ' ./usr/lib/swapster/SWAPST95$' "$work/contents"
    desc="the package depends on the shared libraries it uses"
    depends=$(dpkg-deb -f "$deb" Depends)
    check grep -q "libqt6widgets6" <<<"$depends"
    desc="the package depends on SDL, which the game opens when it first plays a sound"
    check grep -q "libsdl2-2.0-0" <<<"$depends"
    if command -v lintian >/dev/null; then
      desc="lintian finds no errors in the package"
      check lintian --fail-on error "$deb"
    else
      echo "skipped: lintian is not installed"
    fi
  fi
else
  echo "skipped: cpack, dpkg-deb or dpkg-shlibdeps missing, no package made"
fi

# ----------------------------------------------------- menus and metainfo ---
desktops=("$p"/share/applications/*.desktop)
metainfos=("$p"/share/metainfo/*.metainfo.xml)
desc="a menu entry and a metainfo file per game"
check test ${#desktops[@]} -eq 2 -a ${#metainfos[@]} -eq 2 -a -f "${desktops[0]}" -a -f "${metainfos[0]}"
if command -v desktop-file-validate >/dev/null; then
  for f in "${desktops[@]}"; do
    desc="desktop-file-validate $(basename "$f")"; check desktop-file-validate "$f"
  done
else
  echo "skipped: desktop-file-validate is not installed (Debian package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  for f in "${metainfos[@]}"; do
    desc="appstreamcli validate --no-net $(basename "$f")"
    check appstreamcli validate --no-net "$f"
  done
else
  echo "skipped: appstreamcli is not installed (Debian package appstream)"
fi
entry_ok() {  # desktop file, launcher, icon
  grep -qx "Exec=$2" "$1" && grep -qx "Icon=$3" "$1" && grep -q "^Categories=Game;" "$1" &&
    grep -q "^Comment=." "$1"
}
desc="the menu entries start the launchers and show the icons"
check entry_ok "$p/share/applications/example.swapster.swapster.desktop" swapster swapster
check entry_ok "$p/share/applications/example.swapster.hotfield.desktop" hotfield hotfield

# ------------------------------------------------------------- launchers ---
for game in swapster hotfield; do
  out=$(env -u DISPLAY HOME="$work/nohome" "$p/bin/$game" --help 2>&1); code=$?
  desc="$game --help answers in a line or two, without a display"
  check test $code -eq 0 -a "$(printf '%s\n' "$out" | wc -l)" -le 2 -a -n "$out"
  out=$(env -u DISPLAY HOME="$work/nohome" "$p/bin/$game" --version 2>&1); code=$?
  desc="$game --version tells the version ($out)"
  check test $code -eq 0 -a "$(printf '%s\n' "$out" | wc -l)" -eq 1
done
desc="--help and --version make no folder"; check test ! -e "$work/nohome"

# ------------------------------------------------------- the real games ---
for tool in compare convert identify; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing, the games were not started"; finish; exit; }
done
W=1024
H=768
start_x ${W}x$H
unset XDG_DATA_HOME
export SDL_AUDIODRIVER=dummy
home=$work/home
mkdir -p "$home"
export HOME=$home

shot() { import -window root -depth 8 "$1" 2>/dev/null; }
# How many pixels of two pictures of the same size differ by more than 12%.
differing() { compare -metric AE -fuzz 12% "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# A region of the screen (WxH+X+Y) shows the given picture, all but a few pixels.
region_shows() {  # geometry, picture
  shot "$work/screen.png" && convert "$work/screen.png" -crop "$1" +repage "$work/region.png" &&
    [ "$(differing "$work/region.png" "$2")" -lt 200 ]
}

# A player's first start of an installed game: the note, Cancel writing the
# options file into the player's folder, the options naming a picture of the
# installed data folder, and the title picture.  Sets `game`.
first_start() {  # launcher, options file, data file named in it, title picture, its width and height
  "$p/bin/$1" >"$work/$1.log" 2>&1 & game=$!; pids+=("$game")
  note=$(wait_window "Critical Note" 30)
  desc="$1: the first-run note appears"; check test -n "$note"
  [ -n "$note" ] && xdotool windowfocus --sync "$note" key Escape
  folder=$home/.local/share/$1
  desc="$1: Cancel writes $2 into ~/.local/share/$1/"
  check_soon test -s "$folder/$2"
  desc="$1: the options name $3 in the installed data folder"
  check grep -qa "$data/$3" "$folder/$2"
  desc="$1: the title picture shows"
  check_soon region_shows "$5x$6+$(((W - $5) / 2))+$(((H - $6) / 2))" "$source/resources/pictures/$4"
}

first_start swapster swapster.opt cathedra.bkg EGG.png 306 190

# A new 6 x 6 game; the first piece clicked turns face up, and it is a piece
# of the cathedral read from the installed data folder.
cx=$((W / 6 + 10)); cy=$((H / 6 + 10)); cw=$((W / 6 - 20)); ch=$((H / 6 - 20))
convert "$data/cathedra.bkg" -resize "${W}x$H!" "$work/picture.png"
for j in 0 1 2 3 4 5; do
  for i in 0 1 2 3 4 5; do
    convert "$work/picture.png" -crop "${cw}x$ch+$((i * W / 6 + 10))+$((j * H / 6 + 10))" +repage -scale 25% \
      "$work/cut-$i-$j.png"
  done
done
# The title picture has gone: the board covers the middle of the screen.
off_title() {  # title picture
  local tw th
  read -r tw th <<<"$(identify -format '%w %h' "$1")"
  shot "$work/screen.png" &&
    convert "$work/screen.png" -crop "${tw}x$th+$(((W - tw) / 2))+$(((H - th) / 2))" +repage "$work/region.png" &&
    [ "$(differing "$work/region.png" "$1")" -gt $((tw * th / 3)) ]
}
# Clicks the window and presses N until a game shows (the key may come
# before the window has the keyboard).
new_game() {  # title picture
  for _ in 1 2 3; do
    xdotool mousemove 500 400 click 1; sleep 0.3
    xdotool key n
    for _ in $(seq 30); do sleep 0.1; off_title "$1" && return 0; done
  done
  return 1
}
desc="swapster: N starts a game"; check new_game "$source/resources/pictures/EGG.png"
xdotool mousemove $((cx + cw / 2)) $((cy + ch / 2)) click 1; sleep 1
piece_of_picture() {
  shot "$work/screen.png" || return 1
  # Compared a quarter size: a piece drawn into a cell one pixel wider or
  # higher than its own is stretched, which shifts its finest detail, and the
  # game's scaling filter is not ImageMagick's.  Up to 8% of the small
  # picture's pixels may differ; a wrong piece differs in over 40%.
  convert "$work/screen.png" -crop "${cw}x$ch+$cx+$cy" +repage -scale 25% "$work/piece.png"
  for cut in "$work"/cut-*.png; do
    [ "$(differing "$work/piece.png" "$cut")" -lt $((cw * ch / 200)) ] && return 0
  done
  return 1
}
desc="swapster: a clicked piece shows a piece of the installed picture"
check_within 8 piece_of_picture
xdotool key x
ask=$(wait_window "Game in Progress" 10)
[ -n "$ask" ] && xdotool windowfocus --sync "$ask" key Return
await_exit "$game"
desc="swapster: the game exits with code 0 (got $code)"; check test "$code" -eq 0

first_start hotfield hfd.opt rosewood.hfd EGG2.png 340 320
field=$game

# A new game of the first layout, 16 x 12: every square is covered, drawn
# with the covered tile of the rosewood set from the installed data folder.
desc="hotfield: N starts a game"; check new_game "$source/resources/pictures/EGG2.png"
sw=$((W / 16)); sh=$((H / 12))
convert "$data/rosewood.hfd" -crop 96x96+864+0 +repage -sample "${sw}x$sh!" "$work/covered.png"
covered_square() {  # column, row
  shot "$work/screen.png" && convert "$work/screen.png" -crop "${sw}x$sh+$(($1 * sw))+$(($2 * sh))" +repage "$work/square.png" &&
    [ "$(differing "$work/square.png" "$work/covered.png")" -lt $((sw * sh / 10)) ]
}
desc="hotfield: the field shows the covered squares of the installed tile set"
check_soon covered_square 3 9
xdotool key x
await_exit "$field"
desc="hotfield: the game exits with code 0 (got $code)"; check test "$code" -eq 0

# ------------------------------------------ a player's folder that fails ---
# Ends a game on its title screen, answering the question should a click
# have started a game.
close_game() {  # pid
  xdotool mousemove 500 400 click 1 key x
  ask=$(wait_window "Game in Progress" 2) && xdotool windowfocus --sync "$ask" key Return
  await_exit "$1"
}
# Neither folder can be made (XDG_DATA_HOME is a file, HOME is not set): the
# game starts anyway in a temporary folder and first says that the results
# of this game cannot be kept.
: >"$work/afile"
mkdir -p "$work/tmp"
env -u HOME XDG_DATA_HOME="$work/afile" TMPDIR="$work/tmp" "$p/bin/swapster" >"$work/nofolder.log" 2>&1 &
game=$!; pids+=("$game")
sorry=$(wait_window "Sorry" 30)
desc="swapster with no folder to keep its files: a box says the results cannot be kept"
check test -n "$sorry"
[ -n "$sorry" ] && xdotool windowfocus --sync "$sorry" key Return
note=$(wait_window "Critical Note" 30)
desc="swapster with no folder to keep its files: the game goes on to its first-run note"; check test -n "$note"
[ -n "$note" ] && xdotool windowfocus --sync "$note" key Escape
temp_options() { ls "$work"/tmp/swapster.*/swapster.opt >/dev/null 2>&1; }
desc="swapster with no folder to keep its files: they go to a temporary folder"; check_soon temp_options
desc="swapster with no folder to keep its files: the launcher names the folder and why on the terminal"
check grep -q "afile/swapster cannot be written.*$work/tmp/swapster\." "$work/nofolder.log"
close_game "$game"
desc="swapster with no folder to keep its files: the game exits with code 0 (got $code)"; check test "$code" -eq 0

# XDG_DATA_HOME cannot be made but HOME can: the files go under HOME, and no
# box is needed.
home2=$work/home2
mkdir -p "$home2"
HOME=$home2 XDG_DATA_HOME="$work/afile" "$p/bin/hotfield" >"$work/xdg.log" 2>&1 & game=$!; pids+=("$game")
note=$(wait_window "Critical Note" 30)
desc="hotfield with XDG_DATA_HOME unusable: the first-run note appears, and no box before it"
check test -n "$note" -a -z "$(xdotool search --onlyvisible --name Sorry 2>/dev/null)"
[ -n "$note" ] && xdotool windowfocus --sync "$note" key Escape
desc="hotfield with XDG_DATA_HOME unusable: Cancel writes hfd.opt into ~/.local/share/hotfield/"
check_soon test -s "$home2/.local/share/hotfield/hfd.opt"
close_game "$game"
desc="hotfield with XDG_DATA_HOME unusable: the game exits with code 0 (got $code)"; check test "$code" -eq 0

finish
