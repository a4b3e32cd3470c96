#!/usr/bin/env bash
# Reads every golden help set of tests/e2e (and the example) twice, as it is
# and with pages="html" on its files element, and compares what the two runs
# print and write. The differences must be exactly those recorded in
# EXPECTED: per case, the exit statuses, a unified diff of the messages and
# of each file (in UTF-8, with LF line ends), and the files only one run wrote; lines starting
# with "#" there say why and are not compared.
#   compare_modes.sh QUORVANE E2E_DIR EXAMPLES_DIR EXPECTED
set -uo pipefail
export LC_ALL=C  # the check prints UTF-8 in a UTF-8 locale: compare one form
bin=$(realpath "$1") e2e=$(realpath "$2") examples=$(realpath "$3") expected=$(realpath "$4")
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT

utf8() {  # the messages and the help compiler's files are code page 1252; CR LF as LF
  case $1 in *.html | *.tpl) cat "$1" ;; *) iconv -c -f CP1252 -t UTF-8 "$1" ;; esac | sed 's/\r$//'
}

compare() {  # name, directory read as XML, the same read as HTML
  local name=$1 xml=$2 html=$3 report=""
  if [ "$(cat "$xml/.status")" != "$(cat "$html/.status")" ]; then
    report+="status: $(cat "$xml/.status") | $(cat "$html/.status")"$'\n'
  fi
  while IFS= read -r file; do
    if [ ! -e "$xml/$file" ]; then report+="only in html: $file"$'\n'; continue; fi
    if [ ! -e "$html/$file" ]; then report+="only in xml: $file"$'\n'; continue; fi
    cmp -s "$xml/$file" "$html/$file" && continue
    report+="--- $file"$'\n'
    report+=$(diff -u <(utf8 "$xml/$file") <(utf8 "$html/$file") | tail -n +3)$'\n'
  done < <( (cd "$xml" && find . -type f ! -name .status; cd "$html" && find . -type f ! -name .status) \
            | sed 's|^\./||' | LC_ALL=C sort -u)
  [ -n "$report" ] && printf '== %s\n%s' "$name" "$report"
}

run_both() {  # name, input folder, setup script or "", arguments...
  local name=$1 input=$2 setup=$3; shift 3
  local list=${1//\\//}
  [ "$list" = --check ] && list=${2//\\//}
  for mode in xml html; do
    local dir=$work/$mode/$name
    mkdir -p "$dir"
    cp -a "$input/." "$dir/"
    if [ -n "$setup" ]; then (cd "$dir" && bash "$setup") || return 1; fi
    [ -f "$dir/$list" ] || return 0  # no list file to read
    grep -q 'pages=' "$dir/$list" && return 0  # it chooses its reading itself
    if [ $mode = html ]; then
      grep -qi '<files' "$dir/$list" || { echo "== $name: no files element"; return 0; }
      # At the end of the start tag, so that no other attribute moves.
      perl -0pi -e 's/(<files\b[^>]*?)(\s*\/?>)/$1 pages="html"$2/i' "$dir/$list"
    fi
    (cd "$dir" && "$bin" "$@" > .stdout; echo $? > .status)
    sed -i 's/^Quorvane - compiled on .*$/Quorvane - compiled on <stamp>/' "$dir/.stdout"
    [ $mode = html ] && perl -0pi -e 's/ pages="html"//' "$dir/$list"
  done
  compare "$name" "$work/xml/$name" "$work/html/$name"
}

{
  for case_dir in "$e2e"/*/; do
    name=$(basename "$case_dir")
    [ -f "$case_dir/args" ] && [ -d "$case_dir/input" ] || continue
    mapfile -t args < "$case_dir/args"
    setup=""
    [ -f "$case_dir/setup" ] && setup=$case_dir/setup
    run_both "$name" "$case_dir/input" "$setup" "${args[@]}"
  done
  run_both example "$examples" "" aide/liste.xml aide
  run_both example-check "$examples" "" --check aide/liste.xml
} > "$work/actual"

if ! diff <(grep -v '^#' "$expected") "$work/actual" > "$work/changes"; then
  echo "The two readings differ otherwise than $expected says (< expected, > actual):"
  cat "$work/changes"
  echo "--- every difference found:"
  cat "$work/actual"
  exit 1
fi
echo "$(grep -c '^== ' "$work/actual") help sets differ between the two readings, as expected"
