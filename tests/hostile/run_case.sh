#!/usr/bin/env bash
# Runs one hostile-input case folder of cases/ against the built binary:
#   run_case.sh BINARY CASE_DIR      exit 77 when the case cannot run here
#
# A case folder holds:
#   setup     bash script that lays the case out in an empty directory (exit 77:
#             the case cannot run here)
#   args      one argument per line; without it, liste.xml and aide
#   status    the expected exit status
#   stdout    the whole expected standard output, in UTF-8 (the tool writes code
#             page 1252), the banner's time stamp written as <stamp>; or
#             stdout.sh, which prints it
#   files     every path that exists afterwards, one per line
#   restrict  optional bash script run once the tree is open to nobody
#   wrap      optional bash script that runs the tool, given as its arguments
#   check     optional bash script that checks the outputs (run in the directory)
#   untraced  optional: no run under strace; the file says why
#
# The first run checks the exit status and standard output (nothing on
# stderr); every file and directory that exists afterwards, so that no
# truncated output and no temporary file is left and nothing else appears;
# that every file that was there before is unchanged; then check. A second run
# on a fresh copy, under strace, checks that the tool wrote, renamed or
# removed nothing but its own outputs (base.hhp/.hhc/.hhk, a template's .html,
# a failing page's .xml) and their temporary files.
# As root the tool runs as the user nobody, so that permissions apply.
set -u
bin=$(realpath "$1")
case_dir=$(realpath "$2")

scratch=$(mktemp -d)
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

args=(liste.xml aide)
if [ -f "$case_dir/args" ]; then mapfile -t args < "$case_dir/args"; fi
inside=()
if [ -f "$case_dir/wrap" ]; then inside=(bash "$case_dir/wrap"); fi

# Makes a fresh copy of the case in directory $1 and goes there. As root the
# tool runs as nobody, so that permission bits count.
as=()
prepare() {
  mkdir -p "$1" && cd "$1" || exit 1
  bash "$case_dir/setup"
  case $? in 0) ;; 77) exit 77 ;; *) echo "setup failed"; exit 1 ;; esac
  if [ "$(id -u)" = 0 ]; then
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    chmod 755 "$scratch"
    # A build tree under a private directory (a fresh clone in mktemp -d)
    # is out of nobody's reach: run a copy of the binary from the scratch tree.
    if ! "${as[@]}" test -x "$bin"; then
      cp "$bin" "$scratch/quorvane" && chmod 755 "$scratch/quorvane" && bin=$scratch/quorvane
      "${as[@]}" test -x "$bin" || { echo "SKIPPED: the user nobody cannot run $bin"; exit 77; }
    fi
    chmod -R a+rwX .
  fi
  if [ -f "$case_dir/restrict" ]; then bash "$case_dir/restrict" || exit 1; fi
}

# The first run: status, output, files afterwards, inputs unchanged.
prepare "$scratch/root"
before=$(find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum)
"${inside[@]}" "${as[@]}" "$bin" "${args[@]}" > "$scratch/stdout" 2> "$scratch/stderr"
actual_status=$?
chmod -R u+rwX . 2>/dev/null

fail=0
status=$(cat "$case_dir/status")
if [ "$actual_status" != "$status" ]; then echo "exit status: expected $status, got $actual_status"; fail=1; fi
if [ -f "$case_dir/stdout.sh" ]; then stdout=$(bash "$case_dir/stdout.sh"); else stdout=$(cat "$case_dir/stdout"); fi
actual_stdout=$(sed 's/^Quorvane - compiled on .*$/Quorvane - compiled on <stamp>/' "$scratch/stdout" | iconv -f CP1252 -t UTF-8)
if [ "$actual_stdout" != "$stdout" ]; then
  echo "standard output differs (expected, then actual):"
  diff <(echo "$stdout") <(echo "$actual_stdout") | head -20
  fail=1
fi
if [ -s "$scratch/stderr" ]; then echo "unexpected stderr:"; head -20 "$scratch/stderr"; fail=1; fi

actual_files=$(find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
expected_files=$(LC_ALL=C sort "$case_dir/files" | tr '\n' ' ' | sed 's/ $//')
if [ "$actual_files" != "$expected_files" ]; then
  echo "files afterwards: expected [$expected_files]"
  echo "                  got      [$actual_files]"
  fail=1
fi
while read -r digest path; do
  [ -z "$path" ] && continue
  if [ ! -f "$path" ] || [ "$(sha256sum < "$path" | cut -d' ' -f1)" != "$digest" ]; then
    echo "input changed or removed: $path"; fail=1
  fi
done <<< "$before"
if [ $fail = 0 ] && [ -f "$case_dir/check" ] && ! bash "$case_dir/check"; then
  echo "check of the outputs failed:"; cat "$case_dir/check"; fail=1
fi

# The second run, on a fresh copy under strace (where LeakSanitizer cannot
# work: the first run has checked for leaks).
[ -f "$case_dir/untraced" ] && exit $fail
command -v strace >/dev/null || { echo "strace not found: run scripts/install-deps.sh test"; exit 1; }
prepare "$scratch/traced"
trace="$scratch/trace"
"${inside[@]}" env ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace -f -qq -o "$trace" \
  -e trace=open,openat,creat,truncate,rename,renameat,renameat2,unlink,unlinkat,mkdir,mkdirat,link,linkat,symlink,symlinkat \
  "${as[@]}" "$bin" "${args[@]}" > /dev/null 2>&1
chmod -R u+rwX . 2>/dev/null

# What the tool may write: base.hhp/.hhc/.hhk, X.html beside a template X.tpl,
# P.xml beside a page P, and temporary files in the directories of those.
# The base name: the second argument after the options (-j N).
named=("${args[@]}")
while [ ${#named[@]} -gt 0 ] && [[ ${named[0]} = -j* ]]; do
  [ "${named[0]}" = -j ] && named=("${named[@]:1}")
  named=("${named[@]:1}")
done
base=${named[1]//\\//}
allowed() {
  local path=${1#./} dir file
  case $path in
    "$base".hhp | "$base".hhc | "$base".hhk) return 0 ;;
    *.html) [ -f "${path/.html/.tpl}" ] && return 0 ;;
    *.xml) [ -f "${path%.xml}" ] && return 0 ;;
  esac
  dir=$(dirname "$path"); file=$(basename "$path")
  if [[ $file =~ ^\.qvtmp\.[A-Za-z0-9]{6}$ ]]; then
    [ "$dir" = "$(dirname "$base")" ] && return 0
    compgen -G "$dir/*.tpl" > /dev/null && return 0   # a template's page
    compgen -G "$dir/*.htm*" > /dev/null && return 0  # a page's diagnostic copy
  fi
  return 1
}
while IFS= read -r line; do
  call=$line
  [[ $line =~ ^[0-9]+\ +(.*)$ ]] && call=${BASH_REMATCH[1]}
  case $call in
    open\(* | openat\(* | creat\(*)
      [[ $call =~ O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|^creat ]] || continue ;;
  esac
  [[ $call =~ ^(open|openat|creat|truncate|rename|renameat|renameat2|unlink|unlinkat|mkdir|mkdirat|link|linkat|symlink|symlinkat)\( ]] || continue
  # Every quoted path of the call.
  rest=$call
  while [[ $rest =~ \"([^\"]*)\"(.*) ]]; do
    path=${BASH_REMATCH[1]}; rest=${BASH_REMATCH[2]}
    allowed "$path" || { echo "wrote outside its outputs: $call"; fail=1; }
  done
done < "$trace"

exit $fail
