#!/usr/bin/env bash
# Runs every golden case of tests/e2e at -j 8, ROUNDS times over, and stops
# at the first run whose output, files or status differ from the golden: a
# race between the threads that read pages ahead and the walk shows up as a
# case that fails now and then.
#   stress_e2e.sh QUORVANE E2E_DIR [ROUNDS]
set -u
bin=$1 cases=$2 rounds=${3:-5}
for ((round = 1; round <= rounds; round++)); do
  for case_dir in "$cases"/*/; do
    if ! out=$(QUORVANE_JOBS=8 bash "$cases/run_case.sh" "$bin" "$case_dir" 2>&1); then
      echo "round $round, $(basename "$case_dir"):"
      echo "$out"
      exit 1
    fi
  done
done
echo "$rounds rounds of $(ls -d "$cases"/*/ | wc -l) cases at -j 8: all as their goldens"
