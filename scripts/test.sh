#!/bin/sh
# Installs what is missing, builds everything out of tree in build/, and runs every test.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
# Window shapes need a real X server: the shape tests under Xvfb first, then every test.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build -R '^x11\.' --output-on-failure
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
