#!/bin/sh
# Installs what is missing, builds, and starts Vitrina on the sample disc. Without a display it
# runs under xvfb-run (and says so). Extra arguments go to the program.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build build -j"$(nproc)"
DISC="$PWD/build/sample-disc"
if [ ! -x build/vitrina ]; then
    echo "The windowed program is not built yet; showing the sample disc's screen model instead:"
    exec build/tools/vitrina-disc/vitrina-disc screen "$DISC"
fi
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "No display: running under xvfb-run (the window is not visible; use --screenshot OUT.png to see it)."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" build/vitrina --disc "$DISC" "$@"
fi
exec build/vitrina --disc "$DISC" "$@"
