#!/usr/bin/env bash
# Runs the tool under a pseudo-terminal (script) and through a pipe, and
# checks how the usage's second line ("    où :") and a path with UTF-8 bytes
# come out. Rows: how it runs, the locale, the bytes expected (od -An -c).
set -u
bin=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # what, actual, expected
  if [ "$2" != "$3" ]; then echo "$1: got [$2], expected [$3]"; fail=1; fi
}
on_terminal() { SHELL=/bin/bash script -qec "env LC_ALL=$1 $(printf '%q ' "${@:2}")" /dev/null </dev/null | tr -d '\r'; }
through_pipe() { env LC_ALL="$1" "${@:2}" | cat; }

while read -r how locale expected; do
  line=$($how "$locale" "$bin" | sed -n 2p | od -An -c | tr -s ' ' | sed 's/^ //')
  check "$how $locale" "$line" "$expected"
done <<'ROWS'
on_terminal C.UTF-8 o 303 271 : \n
on_terminal C o 371 : \n
through_pipe C.UTF-8 o 371 : \n
ROWS

# A path is written as it was given, whatever the console shows.
mkdir "$work/é"
line=$(cd "$work" && on_terminal C.UTF-8 "$bin" "é/liste.xml" aide | sed -n 3p)
check "path on a UTF-8 terminal" "$line" 'Traitement du fichier "é/liste.xml"'
exit $fail
