#!/usr/bin/env bash
# Checks that every C++ source is formatted as .clang-format says, then
# builds and runs every test: the unit and golden tests in the normal build,
# the same under the address and undefined-behaviour sanitizers, the unit and
# golden tests under the thread sanitizer (not the hostile-input table, whose
# strace check would see the sanitizer's own files, nor the tests against the
# real help compiler and browser, which the other builds run), and a short
# run of each fuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh test
bash scripts/check-format.sh
jobs=$(nproc)

cmake --preset dev >/dev/null
cmake --build --preset dev -j"$jobs"
ctest --preset dev -j"$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ctest --preset asan -j"$jobs"

cmake --preset tsan >/dev/null
cmake --build --preset tsan -j"$jobs"
ctest --preset tsan -j"$jobs"

bash scripts/fuzz.sh "${QUORVANE_FUZZ_SECONDS:-60}"
echo "All tests passed."
