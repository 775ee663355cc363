#!/usr/bin/env bash
# The installed game, as a player finds it: installs the build into a
# temporary DESTDIR (prefix given at install time), checks what lands where
# (the licence, the icons named after the desktop ids, scalable and
# symbolic ones too), makes the two Debian packages and has lintian look at
# them, validates the menu entries and AppStream metainfo and checks what a
# software centre reads there (ids, licences, releases, content ratings,
# addresses), asks the launchers for --help and --version, then starts each
# installed launcher on a private X server with HOME a temporary folder: the
# window's class is the one its menu entry names, the first-run note
# appears, Cancel writes the options file into ~/.local/share/<game>/, the
# title picture shows, and the game's pictures come from the installed data
# folder; with no folder to keep its files in, a launcher starts its game in
# a temporary one and the game says that the results cannot be kept.
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
desc="the programs are in libexec/swapster/"
check test -x "$p/libexec/swapster/SWAPST95" -a -x "$p/libexec/swapster/HOTFIELD" -a -x "$p/libexec/swapster/install"
desc="the data files are in share/swapster/"
check test -f "$data/cathedra.bkg" -a -f "$data/swpstats.tif" -a -f "$data/rosewood.hfd" -a -f "$data/PLANET_R.BKG"
desc="the manual pages are in share/man/man6/"
check test -f "$p/share/man/man6/swapster.6.gz" -a -f "$p/share/man/man6/hotfield.6.gz"
home_page=https://github.com/swapster/swapster
# Each game's desktop id and launcher.
ids=(io.github.swapster.Swapster io.github.swapster.Hotfield)
declare -A launcher_of=([io.github.swapster.Swapster]=swapster [io.github.swapster.Hotfield]=hotfield)
hicolor=$p/share/icons/hicolor
icons_ok() {
  for n in 16 32 48 64 128 256; do
    for id in "${ids[@]}"; do
      f=$hicolor/${n}x$n/apps/$id.png
      [ -f "$f" ] || return 1
      if command -v identify >/dev/null; then
        [ "$(identify -format '%wx%h' "$f")" = "${n}x$n" ] || return 1
      fi
    done
  done
}
desc="both icons in the hicolor theme at 16 to 256 pixels, named after the desktop ids, each its own size"
check icons_ok
# A scalable icon draws the PNGs' picture: at 16 pixels at most an eighth of
# its pixels differ by more than 25 % (the other game's icon differs in over
# 200 of the 256).
svg_like_png() {  # id
  local f=$hicolor/scalable/apps/$1.svg
  grep -q '<svg .*viewBox="0 0 64 64"' "$f" || return 1
  command -v rsvg-convert >/dev/null && command -v compare >/dev/null || return 0
  rsvg-convert -w 16 -h 16 "$f" -o "$work/svg.png" &&
    [ "$(compare -metric AE -fuzz 25% "$work/svg.png" "$hicolor/16x16/apps/$1.png" null: 2>&1)" -le 32 ]
}
# A symbolic icon is 16 x 16, filled shapes in the one colour desktops
# replace with their text colour.
symbolic_ok() {  # id
  local f=$hicolor/symbolic/apps/$1-symbolic.svg
  grep -q '<svg .*viewBox="0 0 16 16"' "$f" && ! grep -q 'stroke' "$f" &&
    [ "$(grep -o '#[0-9a-fA-F]\{6\}' "$f" | sort -u)" = "#2e3436" ] &&
    { ! command -v rsvg-convert >/dev/null || rsvg-convert -w 16 -h 16 "$f" -o "$work/symbolic.png"; }
}
for id in "${ids[@]}"; do
  desc="$id: a scalable icon in hicolor/scalable/apps that draws the PNG icons' picture"
  check svg_like_png "$id"
  desc="$id: a symbolic icon in hicolor/symbolic/apps, one colour, filled shapes"
  check symbolic_ok "$id"
done

# The licence: the text in the sources, a machine-readable copyright file
# in the installed documentation.
licence_ok() {  # copyright file
  head -1 "$1" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' &&
    grep -qx 'License: GPL-3.0-or-later' "$1" && grep -qx 'License: CC0-1.0' "$1" &&
    grep -qx "Source: $home_page" "$1" && grep -q '"/usr/share/common-licenses/GPL-3"' "$1"
}
desc="the copyright files of the game and its data name GPL-3.0-or-later and, for the metainfo, CC0-1.0"
check licence_ok "$p/share/doc/swapster/copyright"
check cmp -s "$p/share/doc/swapster/copyright" "$p/share/doc/swapster-data/copyright"
if [ -f /usr/share/common-licenses/GPL-3 ]; then
  desc="COPYING is the text of the GNU General Public License, version 3"
  check cmp -s "$source/COPYING" /usr/share/common-licenses/GPL-3
fi

# --------------------------------------------------- the Debian packages ---
# Lintian's pedantic look may show only what the game's own file names
# explain: the data files' names (.bkg and .hfd pictures, the names the game
# reads).  What it mistakes in the machine code is overridden in the package
# (desktop/swapster.lintian-overrides); an override it no longer needs shows.
lintian_ok() {  # packages
  lintian -I -E --pedantic "$@" >"$work/lintian.log" 2>&1
  ! grep -E '^[EWIPX]: ' "$work/lintian.log" |
    grep -v -E '^P: swapster-data: image-file-has-unexpected-name \(is (JPEG|PNG)\) \[usr/share/swapster/[^/]*\.(bkg|BKG|hfd)\]$'
}
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null && command -v dpkg-shlibdeps >/dev/null; then
  (cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1
  deb=$(ls "$work"/package/swapster_*.deb 2>/dev/null | head -1)
  data_deb=$(ls "$work"/package/swapster-data_*_all.deb 2>/dev/null | head -1)
  desc="cpack -G DEB makes swapster_*.deb and the architecture-independent swapster-data_*_all.deb"
  check test -n "$deb" -a -n "$data_deb"
  if [ -n "$deb" ] && [ -n "$data_deb" ]; then
    dpkg-deb -c "$deb" >"$work/contents"
    dpkg-deb -c "$data_deb" >"$work/data-contents"
    desc="the package keeps the launchers in /usr/games and the programs in /usr/libexec/swapster/"
    check grep -q ' ./usr/games/swapster$' "$work/contents"
    check grep -q ' ./usr/libexec/swapster/SWAPST95$' "$work/contents"
    desc="the pictures and tile sets are in swapster-data, and only there"
    check grep -q ' ./usr/share/swapster/cathedra.bkg$' "$work/data-contents"
    check grep -q ' ./usr/share/swapster/rosewood.hfd$' "$work/data-contents"
    check test "$(grep -c ' ./usr/share/swapster/' "$work/contents")" -eq 0
    desc="the package depends on the shared libraries it uses"
    depends=$(dpkg-deb -f "$deb" Depends)
    check grep -q "libqt6widgets6" <<<"$depends"
    desc="the package depends on SDL, which the game opens when it first plays a sound"
    check grep -q "libsdl2-2.0-0" <<<"$depends"
    desc="the package recommends the toolkit's Wayland plugin"
    check grep -q "qt6-wayland" <<<"$(dpkg-deb -f "$deb" Recommends)"
    desc="the game depends on its data of the same version"
    check grep -q "swapster-data (= $(dpkg-deb -f "$deb" Version))" <<<"$depends"
    check test "$(dpkg-deb -f "$data_deb" Version)" = "$(dpkg-deb -f "$deb" Version)"
    desc="both packages name the project's home"
    check test "$(dpkg-deb -f "$deb" Homepage)" = "$home_page" -a "$(dpkg-deb -f "$data_deb" Homepage)" = "$home_page"
    desc="the shipped programs carry no .comment section"
    dpkg-deb -x "$deb" "$work/unpacked"
    no_comments() {
      for f in "$work"/unpacked/usr/libexec/swapster/*; do
        readelf -S "$f" | grep -q ' \.comment ' && return 1
      done
      return 0
    }
    check no_comments
    if command -v lintian >/dev/null; then
      desc="lintian -I -E --pedantic on both packages shows only what the game's own files explain"
      check lintian_ok "$deb" "$data_deb"
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
desc="a menu entry and a metainfo file per game, named after its desktop id"
check test ${#desktops[@]} -eq 2 -a ${#metainfos[@]} -eq 2
for id in "${ids[@]}"; do
  check test -f "$p/share/applications/$id.desktop" -a -f "$p/share/metainfo/$id.metainfo.xml"
done
if command -v desktop-file-validate >/dev/null; then
  for f in "${desktops[@]}"; do
    desc="desktop-file-validate $(basename "$f"): no error, warning or hint"
    check test -z "$(desktop-file-validate "$f" 2>&1)"
  done
else
  echo "skipped: desktop-file-validate is not installed (Debian package desktop-file-utils)"
fi
# Pedantic validation leaves only what the names chosen explain: the ids'
# capitals, and (for a validator older than AppStream 1.0) the <developer>
# tag of 1.0, which stands beside the older <developer_name>.
validated() {  # metainfo
  appstreamcli validate --pedantic --no-net "$1" >"$work/validate.log" 2>&1 || { cat "$work/validate.log"; return 1; }
  ! grep -E '^[EWIP]: ' "$work/validate.log" |
    grep -v -E ':[0-9]+: (cid-contains-uppercase-letter .*|unknown-tag developer)$'
}
if command -v appstreamcli >/dev/null; then
  for f in "${metainfos[@]}"; do
    desc="appstreamcli validate --pedantic --no-net $(basename "$f"): nothing the names do not explain"
    check validated "$f"
  done
else
  echo "skipped: appstreamcli is not installed (Debian package appstream)"
fi
entry_ok() {  # desktop id, launcher
  local f=$p/share/applications/$1.desktop
  grep -qx "Exec=$2" "$f" && grep -qx "TryExec=$2" "$f" && grep -qx "Icon=$1" "$f" &&
    grep -q "^Categories=Game;" "$f" && grep -q "^Comment=." "$f" && grep -qx "StartupNotify=true" "$f"
}
# What a software centre reads: the id, the entry it starts, the launcher it
# provides, the licences, where the project lives, the screenshot (which the
# repository serves), the developer and a release.
metainfo_ok() {  # desktop id, launcher
  local f=$p/share/metainfo/$1.metainfo.xml
  grep -qx "  <id>$1</id>" "$f" &&
    grep -qx "  <launchable type=\"desktop-id\">$1.desktop</launchable>" "$f" &&
    grep -qx "    <binary>$2</binary>" "$f" &&
    grep -qx "  <metadata_license>CC0-1.0</metadata_license>" "$f" &&
    grep -qx "  <project_license>GPL-3.0-or-later</project_license>" "$f" &&
    grep -qx "  <url type=\"homepage\">$home_page</url>" "$f" &&
    grep -qx "  <url type=\"bugtracker\">$home_page/issues</url>" "$f" &&
    grep -qx "      <image>https://raw.githubusercontent.com/swapster/swapster/main/desktop/screenshots/$2.png</image>" "$f" &&
    test -f "$source/desktop/screenshots/$2.png" &&
    grep -qx '  <developer id="io.github.swapster">' "$f" &&
    grep -q '<release version="[0-9.]*" date="[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]">' "$f"
}
# The content rating's attributes, one "id=value" a line; none for a game
# that shows nothing to rate.
rating() {  # metainfo
  sed -n '/<content_rating type="oars-1.1"/,/content_rating>/p;/<content_rating type="oars-1.1"\/>/q' "$1" |
    sed -n 's/.*<content_attribute id="\([^"]*\)">\([^<]*\)<.*/\1=\2/p'
}
for id in "${ids[@]}"; do
  desc="$id: the menu entry starts ${launcher_of[$id]}, shows the icon of its id, and notifies its start"
  check entry_ok "$id" "${launcher_of[$id]}"
  desc="$id: the metainfo's id, entry, binary, licences, addresses, screenshot, developer and release"
  check metainfo_ok "$id" "${launcher_of[$id]}"
done
mi=$p/share/metainfo
desc="content ratings: OARS 1.1 for both, nothing to rate in the puzzle, mild cartoon violence in the mine field"
check grep -q '<content_rating type="oars-1.1"/>' "$mi/io.github.swapster.Swapster.metainfo.xml"
check test -z "$(rating "$mi/io.github.swapster.Swapster.metainfo.xml")"
check test "$(rating "$mi/io.github.swapster.Hotfield.metainfo.xml")" = "violence-cartoon=mild"

# ------------------------------------------------------------- launchers ---
for game in swapster hotfield; do
  out=$(env -u DISPLAY HOME="$work/nohome" "$p/bin/$game" --help 2>&1); code=$?
  desc="$game --help answers in a line or two, without a display"
  check test $code -eq 0 -a "$(printf '%s\n' "$out" | wc -l)" -le 2 -a -n "$out"
  out=$(env -u DISPLAY HOME="$work/nohome" "$p/bin/$game" --version 2>&1); code=$?
  desc="$game --version tells the version ($out)"
  check test $code -eq 0 -a "$(printf '%s\n' "$out" | wc -l)" -eq 1
  desc="$game: the metainfo's release is the version the launcher tells"
  metainfo=$(grep -l "<binary>$game</binary>" "$p"/share/metainfo/*.metainfo.xml)
  check grep -q "<release version=\"${out##* }\" " "$metainfo"
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

# The desktop matches a window to its menu entry by the class part of the
# window's WM_CLASS (WM_CLASS(STRING) = "instance", "class").
wm_class_is() {  # window, desktop file
  local want
  want=$(sed -n 's/^StartupWMClass=//p' "$2")
  [ -n "$want" ] && xprop -id "$1" WM_CLASS | grep -q ", \"$want\"$"
}
# A player's first start of an installed game: the note, Cancel writing the
# options file into the player's folder, the options naming a picture of the
# installed data folder, and the title picture.  Sets `game`.
first_start() {  # launcher, options file, data file named in it, title picture, its width and height
  "$p/bin/$1" >"$work/$1.log" 2>&1 & game=$!; pids+=("$game")
  note=$(wait_window "Critical Note" 30)
  desc="$1: the first-run note appears"; check test -n "$note"
  desc="$1: its windows' X11 class is the StartupWMClass of its menu entry"
  check wm_class_is "$note" "$(grep -l "^Exec=$1$" "$p"/share/applications/*.desktop)"
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
