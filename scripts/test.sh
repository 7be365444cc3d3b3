#!/bin/sh
# Installs what is missing, builds everything out of tree in build/, and runs every test; then
# builds the test programs once more in build-asan/ with AddressSanitizer, UBSan and the standard
# library's assertions, and runs the core and window tests there; and the core tests once more in
# build-tsan/ with ThreadSanitizer.
set -e
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
# Line tables are enough for backtraces and halve the time the Qt-heavy files take to build.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
cmake --build build -j"$(nproc)"
# Window shapes need a real X server: the shape tests under Xvfb first, then every test.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build -R '^x11\.' --output-on-failure
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"

# The sanitizer build: only the test programs (the fuzz corpus replays among them), the programs
# they start and the sample disc.
# Our code is instrumented; Qt and WebEngine's own process are not.
# Unoptimised: instrumented optimisation is what makes this build slow, and the tests' time goes
# to the web engine, which is not instrumented.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O0 -g1 -DNDEBUG" -DVITRINA_ASAN=ON
cmake --build build-asan -j"$(nproc)" --target vitrina_core_tests vitrina_ui_tests vitrina_fuzz_replays sample-disc
export UBSAN_OPTIONS=print_stacktrace=1
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan -L '^core$' --output-on-failure -j"$(nproc)"
# Qt, fontconfig and WebEngine keep process-lifetime allocations that LeakSanitizer reports as
# leaks, and WebEngine frees some objects with a sized delete of another type: the window tests
# run without those two checks.
ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0 ctest --test-dir build-asan -L '^ui$' --output-on-failure -j"$(nproc)"

# ThreadSanitizer over the core library and its tests, which run its worker threads (timers, the
# document scan, the window directory); the window tests stay out: Qt itself is not instrumented,
# and the fuzz corpora are replayed under AddressSanitizer above.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DVITRINA_UI=OFF -DVITRINA_TSAN=ON
cmake --build build-tsan -j"$(nproc)" --target vitrina_core_tests sample-disc
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --test-dir build-tsan -L '^core$' -E '^fuzz\.' --output-on-failure -j"$(nproc)"
