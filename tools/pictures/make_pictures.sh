#!/bin/sh
# Regenerates every picture the game ships from the scripts in this folder:
# the embedded pictures in resources/pictures/ (title, card back, the two
# clock faces, icon) and the data files in data/ (the eight built-in puzzle pictures and
# the statistics picture), then checks them.  Every run gives the same files.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
py=/usr/bin/python3
mkdir -p "$root/resources/pictures" "$root/data"
cd "$here"
$py small_pictures.py "$root/resources/pictures"
$py stats_picture.py "$root/data"
$py cathedral.py "$root/data"
$py fire_engine.py "$root/data"
$py gameroom.py "$root/data"
$py ult_deck.py "$root/data"
$py orbquest.py "$root/data"
$py bluebird.py "$root/data"
$py giantcat.py "$root/data"
$py stained.py "$root/data"
$py field_pictures.py "$root"
$py check_pictures.py "$root"
