#!/usr/bin/env bash
# Fails, naming each file, when a tracked C++ source differs from what
# clang-format makes of it with the repository's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
# The golden cases' input files are bytes under test, not sources.
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.cc' '*.hpp' ':!:tests/e2e/*/input/*')
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if [ ${#unformatted[@]} -ne 0 ]; then
  echo "Not formatted as .clang-format says (run clang-format -i on them):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format says."
