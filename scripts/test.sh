#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: a normal build, then an
# AddressSanitizer + UndefinedBehaviorSanitizer build with clang, then the fuzz runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
# The virtual PDF printer that the print tests print to. A CUPS server that this run starts
# is stopped again when the run ends, however it ends.
cups_was_running=false
if lpstat -r 2>/dev/null | grep "scheduler is running" >/dev/null; then cups_was_running=true; fi
stop_started_cups() {
  if [[ $cups_was_running == false ]] && [[ $(id -u) -eq 0 ]]; then
    pkill -x cupsd 2>/dev/null || true
  fi
}
trap stop_started_cups EXIT
bash scripts/cups-pdf-queue.sh

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

jobs=$(nproc)

echo "== normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
LC_ALL=C.UTF-8 LANG=C.UTF-8 ctest --test-dir build --output-on-failure -j "$jobs"
# The tests that take the caller's locale once more under a decimal comma; the window and
# command-line tests run under both already.
echo "== normal build under de_DE.UTF-8"
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 ctest --test-dir build --output-on-failure -j "$jobs" \
  -L any_locale

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DFW_SANITIZE=ON -DFW_FUZZ=ON -DFW_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
LC_ALL=C.UTF-8 LANG=C.UTF-8 ctest --test-dir build-asan --output-on-failure -j "$jobs"
