#!/usr/bin/env bash
# Installs what is needed, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLV_SANITIZE=ON -DLV_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# Leaks inside Qt's font and X libraries only; our own code is never suppressed.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export XDG_RUNTIME_DIR="$(mktemp -d)"
cd "$build" && ctest --output-on-failure -j2
