#!/usr/bin/env bash
# Runs one golden case folder against the built binary.
#
# A case folder holds:
#   args       one command-line argument per line (may be absent: no argument)
#   env        optional: NAME=value lines set for the program; it runs under
#              LC_ALL=C unless they say otherwise
#   input/     copied into a fresh working directory, where the program runs
#   setup      optional bash script run in the working directory before the program
#   stdout     expected standard output, byte for byte; the banner's time stamp
#              is written as "Quorvane - compiled on <stamp>"
#   status     expected exit status (decimal)
#   expected/  files that must exist afterwards in the working directory, byte for byte
#   absent     optional list of paths (one per line) that must not exist afterwards
#   unchanged  optional: when present, every file of input/ must be unchanged afterwards
#
# With QUORVANE_JOBS set, "-j $QUORVANE_JOBS" goes before the arguments (but
# not before a lone --help or --version): every case must give the same bytes
# whatever the number of threads.
set -u
bin=$1
case_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail=0

if [ -d "$case_dir/input" ]; then cp -a "$case_dir/input/." "$work/"; fi
args=()
if [ -f "$case_dir/args" ]; then
  while IFS= read -r line || [ -n "$line" ]; do args+=("$line"); done < "$case_dir/args"
fi
if [ -n "${QUORVANE_JOBS:-}" ] && ! [[ ${#args[@]} = 1 && ${args[0]} =~ ^--(help|version)$ ]]; then
  args=(-j "$QUORVANE_JOBS" "${args[@]}")
fi
if [ -f "$case_dir/setup" ]; then (cd "$work" && bash "$case_dir/setup") || { echo "setup failed"; exit 1; }; fi

environment=(LC_ALL=C)
if [ -f "$case_dir/env" ]; then mapfile -t -O 1 environment < "$case_dir/env"; fi
(cd "$work" && env "${environment[@]}" "$bin" "${args[@]}") > "$work/.actual_stdout" 2> "$work/.actual_stderr"
status=$?
sed -i 's/^Quorvane - compiled on .*$/Quorvane - compiled on <stamp>/' "$work/.actual_stdout"

expected_status=$(tr -d '[:space:]' < "$case_dir/status")
if [ "$status" != "$expected_status" ]; then
  echo "exit status: expected $expected_status, got $status"; fail=1
fi
if ! cmp -s "$case_dir/stdout" "$work/.actual_stdout"; then
  echo "stdout differs (expected vs actual):"
  diff <(od -c "$case_dir/stdout") <(od -c "$work/.actual_stdout") | head -40
  fail=1
fi
if [ -s "$work/.actual_stderr" ]; then echo "unexpected stderr:"; cat "$work/.actual_stderr"; fail=1; fi
if [ -d "$case_dir/expected" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$case_dir/expected/"}
    if [ ! -f "$work/$rel" ]; then echo "missing output file: $rel"; fail=1; continue; fi
    if ! cmp -s "$f" "$work/$rel"; then
      echo "output file differs: $rel (expected vs actual)"
      diff <(od -c "$f") <(od -c "$work/$rel") | head -40
      fail=1
    fi
  done < <(find "$case_dir/expected" -type f -print0)
fi
if [ -f "$case_dir/absent" ]; then
  while IFS= read -r rel || [ -n "$rel" ]; do
    [ -z "$rel" ] && continue
    if [ -e "$work/$rel" ]; then echo "file should not exist: $rel"; fail=1; fi
  done < "$case_dir/absent"
fi
if [ -f "$case_dir/unchanged" ] && [ -d "$case_dir/input" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$case_dir/input/"}
    cmp -s "$f" "$work/$rel" || { echo "input file changed: $rel"; fail=1; }
  done < <(find "$case_dir/input" -type f -print0)
fi
leftovers=$(find "$work" -name '*.qvtmp*' | head -3)
if [ -n "$leftovers" ]; then echo "temporary files left behind: $leftovers"; fail=1; fi
exit $fail
