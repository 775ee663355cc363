#!/bin/sh
# Makes the pictures of the menu entries and the AppStream metainfo and
# writes them into desktop/, where they are committed (<id> is each game's
# desktop id, io.github.swapster.Swapster or io.github.swapster.Hotfield):
#   desktop/icons/<n>x<n>/<id>.png                  icons.py, from the game's
#       own icon drawing and the rosewood tile set; the same bytes every run
#   desktop/icons/{scalable,symbolic}/<id>*.svg     svg_icons.py, the same
#       drawings in vector form and 16-pixel outlines; the same bytes too
#   desktop/screenshots/{swapster,hotfield}.png     screenshots.py, the real
#       games on a private X server; the shuffle differs every run
# Builds the game first (tools/build.sh).  Needs python3-pil, python3-numpy,
# fonts-dejavu-core, Xvfb, xdotool, x11-utils and imagemagick; the scripts run
# with /usr/bin/python3.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/tools/build.sh"
/usr/bin/python3 "$root/tools/desktop/icons.py" "$root"
/usr/bin/python3 "$root/tools/desktop/svg_icons.py" "$root"
/usr/bin/python3 "$root/tools/desktop/screenshots.py" "$root/build" "$root/desktop/screenshots"
