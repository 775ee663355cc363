#!/usr/bin/env bash
# Builds everything and runs all tests (offscreen, without an audio device),
# installing first what the tests and packaging use beside the game's own
# packages.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh tests
tools/build.sh
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
cd build
ctest --output-on-failure --timeout 600 -j"$(nproc)"
