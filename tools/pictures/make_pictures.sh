#!/bin/sh
# Regenerates every picture the game ships from the scripts in this folder:
# the embedded pictures in resources/pictures/ and the data files in data/.
# Run from anywhere; the output is the same on every run.
set -e
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
py=/usr/bin/python3
mkdir -p "$root/resources/pictures" "$root/data"
cd "$here"
$py small_pictures.py "$root/resources/pictures"
for s in stats_picture cathedral fire_engine; do
    if [ -f "$s.py" ]; then $py "$s.py" "$root/data"; fi
done
$py check_pictures.py "$root"
