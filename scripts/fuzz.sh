#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each of them for
# the given number of seconds (60 by default), starting from the seed corpus
# of fuzz/corpus/ plus what earlier runs on this machine found. A finding (a
# crash, a sanitizer report, a leak, an input slower than 10 s or bigger than
# 4 GB) fails the script; its input is kept in build/fuzz/findings/<target>/.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
targets=(page list template lzx)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DQUORVANE_FUZZ=ON -DQUORVANE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  findings="$build/findings/$target"
  log="$build/fuzz_$target.log"
  mkdir -p "$corpus" "$findings"
  echo "fuzz_$target: ${seconds} s"
  dict=()
  [ -f "$root/fuzz/$target.dict" ] && dict=(-dict="$root/fuzz/$target.dict")
  if ! "$build/fuzz/fuzz_$target" "$corpus" "$root/fuzz/corpus/$target" \
      "${dict[@]}" -max_total_time="$seconds" -max_len=16384 \
      -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="$findings/" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$target found a fault; the input is in $findings/"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | sed 's/^/  /'
done
