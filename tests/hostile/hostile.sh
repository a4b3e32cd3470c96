#!/usr/bin/env bash
# Hostile input, end to end. Each case lays out an otherwise empty directory
# tree, runs the tool in it and checks:
#   - the exit status and the whole of standard output (nothing on stderr);
#   - every file and directory that exists afterwards, so that no truncated
#     output and no temporary file is left and nothing else appears;
#   - that every file that was there before is unchanged;
#   - in a second run on a fresh copy, under strace, that the tool wrote,
#     renamed or removed nothing but its own outputs (base.hhp/.hhc/.hhk, a
#     template's .html, a failing page's .xml) and their temporary files.
# As root the tool runs as the user nobody, so that permissions apply.
#
#   hostile.sh --list          the names of the cases
#   hostile.sh BINARY CASE     runs one case; exit 77 when it cannot run here
set -u

cases=(
  binary-garbage-page binary-garbage-list nul-bytes-in-page invalid-utf8 truncated-utf8
  overlong-and-surrogate-utf8 bom-before-list page-is-directory page-without-read-permission
  same-page-10000-times template-of-0-bytes template-with-1mb-of-attributes
  output-directory-without-write-permission disk-full base-name-in-missing-directory
  page-nested-100000-deep list-nested-100000-deep list-nested-at-the-limit ix-with-100000-parts
  interrupted-while-writing stdout-closed-early complete-run
)
if [ "${1:-}" = --list ]; then printf '%s\n' "${cases[@]}"; exit 0; fi
bin=$(realpath "$1")
name=$2

scratch=$(mktemp -d)
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

skip() { echo "SKIPPED: $*"; exit 77; }
python() { python3 -c "$@"; }
# Whether FILE has the line TEXT (output files end their lines with CR LF).
has_line() { grep -qxF "$2"$'\r' "$1"; }

# A small help set: one page with a heading and a keyword.
page='<html><body><h1 id="a">Accueil</h1><p ix="1">mot</p></body></html>'
list='<files title="Aide"><file name="p.html"/></files>'
banner=$'Quorvane - compiled on <stamp>\n'

# Lays the case out in the current directory and sets what it expects: the
# arguments, the status, standard output (UTF-8 here, code page 1252 from the
# tool), the paths that exist afterwards, and optionally restrict (run after
# the tree is made accessible to nobody), inside (a command that runs the
# tool), check (further checks of the outputs), traced=no (no strace run).
lay_out() {
args=(liste.xml aide)
restrict=:
inside=()
check=:
traced=yes
case $name in
binary-garbage-page)
  # Bytes 0-255 in a scrambled order: parsing stops at the first NUL.
  python 'import sys; sys.stdout.buffer.write(bytes((i * 73 + 41) % 256 for i in range(4096)))' > p.html
  echo "$list" > liste.xml
  status=13
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Erreur durant l'"'"'analyse du fichier"p.html"
 Ligne=0, Colonne=0
 Description="Error document empty.".
 Génération du fichier "p.html.xml" pour diagnostic.
Les données ne sont pas valides'
  files='liste.xml p.html p.html.xml'
  ;;
binary-garbage-list)
  # A list that does not parse is reported and read as far as it parsed:
  # here nothing, so the run writes files without entries.
  python 'import sys; sys.stdout.buffer.write(bytes(range(1, 256)) * 4)' > liste.xml
  status=0
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Erreur durant l'"'"'analyse du fichier"liste.xml"
 ligne=0, colonne=0
 description="Error document empty."'
  files='aide.hhc aide.hhk aide.hhp liste.xml'
  check='has_line aide.hhp "[FILES]" && [ "$(wc -l < aide.hhc)" = 7 ]'
  ;;
nul-bytes-in-page)
  # What follows the first NUL byte of a page is not read.
  printf '<html><body><h1 id="a">Avant</h1>\0<h1 id="b">Apres</h1></body></html>' > p.html
  echo "$list" > liste.xml
  status=13
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Erreur durant l'"'"'analyse du fichier"p.html"
 Ligne=0, Colonne=0
 Description="Error reading Element value.".
 Génération du fichier "p.html.xml" pour diagnostic.
Les données ne sont pas valides'
  files='liste.xml p.html p.html.xml'
  check='grep -q "Avant" p.html.xml && ! grep -q "Apres" p.html.xml'
  ;;
invalid-utf8)
  # Each byte that begins no valid sequence becomes one "?".
  printf '<html><body><h1 id="a">A\xff\xfeB \xc3(C \xe2\x82D \xbfE caf\xc3 F</h1></body></html>' > p.html
  echo "$list" > liste.xml
  status=0
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"'
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html'
  check='grep -qF "value=\"A??B ?(C ??D ?E caf? F\"" aide.hhc'
  ;;
truncated-utf8)
  # The parser steps over a whole sequence from its lead byte: a sequence cut
  # short right before a tag takes its "<" with it, and the page does not parse.
  printf '<html><body><h1 id="a">caf\xc3</h1></body></html>' > p.html
  echo "$list" > liste.xml
  status=13
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Erreur durant l'"'"'analyse du fichier"p.html"
 Ligne=1, Colonne=32
 Description="Error reading end tag.".
 Génération du fichier "p.html.xml" pour diagnostic.
Les données ne sont pas valides'
  files='liste.xml p.html p.html.xml'
  ;;
overlong-and-surrogate-utf8)
  # Overlong forms, surrogates and code points past U+10FFFF are malformed too.
  printf '<html><body><h1 id="a">\xc0\xafa \xe0\x80\xafb \xed\xa0\x80c \xf4\x90\x80\x80d \xf0\x9f\x98\x80e</h1></body></html>' > p.html
  echo "$list" > liste.xml
  status=0
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"'
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html'
  check='grep -qF "value=\"??a ???b ???c ????d ?e\"" aide.hhc'
  ;;
bom-before-list)
  printf '\xef\xbb\xbf%s' "$list" > liste.xml
  echo "$page" > p.html
  status=0
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"'
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html'
  check='has_line aide.hhp "Title=Aide" && grep -qF "value=\"Accueil\"" aide.hhc'
  ;;
page-is-directory)
  mkdir p.html
  echo "$list" > liste.xml
  status=5
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Accès refusé'
  files='liste.xml p.html'
  ;;
page-without-read-permission)
  echo "$page" > p.html
  echo "$list" > liste.xml
  restrict='chmod 000 p.html'
  status=5
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Accès refusé'
  files='liste.xml p.html'
  ;;
same-page-10000-times)
  echo "$page" > p.html
  python 'print("<files>" + "<file name=\"p.html\"/>" * 10000 + "</files>")' > liste.xml
  status=0
  stdout="${banner}"$'\nTraitement du fichier "liste.xml"'$(printf '\nTraitement du fichier "p.html"%.0s' {1..10000})
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html'
  check='[ "$(grep -c "^p.html" aide.hhp)" = 10000 ] && [ "$(grep -c "value=\"Accueil\"" aide.hhc)" = 10000 ] && [ "$(grep -c "value=\"mot\"" aide.hhk)" = 10000 ]'
  ;;
template-of-0-bytes)
  echo "$page" > p.html
  echo '<files><file name="p.html"/><table name="t.tpl"/></files>' > liste.xml
  : > t.tpl
  status=210  # 4306, an empty file
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Traitement du template "t.tpl"
La bibliothèque, le lecteur ou le pool de supports est vide'
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html t.tpl'
  ;;
template-with-1mb-of-attributes)
  echo "$page" > p.html
  echo '<files><file name="p.html"/><table name="t.tpl"/></files>' > liste.xml
  python 'print("<ul>\n<!-- <template" + "".join(" a%d=\"1\"" % i for i in range(95000)) + " target=\"main\" /> -->\n</ul>")' > t.tpl
  status=255  # 65535, an unusable template
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Traitement du template "t.tpl"
Erreur à l'"'"'analyse des paramètres de substitution
Erreur 65535'
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html t.tpl'
  check='[ "$(stat -c %s t.tpl)" -gt 1000000 ]'
  ;;
output-directory-without-write-permission)
  echo "$page" > p.html
  echo "$list" > liste.xml
  mkdir out
  args=(liste.xml out/aide)
  restrict='chmod 555 out'
  status=5
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Accès refusé'
  files='liste.xml out p.html'
  ;;
disk-full)
  # Two pages of tmpfs: the old contents file takes one, the project file the
  # other; the new contents file finds no room. The old one must survive.
  [ "$(id -u)" = 0 ] || skip "mounting a small tmpfs needs root"
  unshare -m true 2>/dev/null || skip "no mount namespace can be made here"
  echo "$page" > p.html
  echo "$list" > liste.xml
  mkdir out
  args=(liste.xml out/aide)
  inside=(unshare -m sh -c 'mount -t tmpfs -o size=8k,mode=0777 tmpfs out && echo ancien > out/aide.hhc && "$@"; s=$?; find out | LC_ALL=C sort > ../inside.list; cat out/aide.hhc > ../old.hhc 2>/dev/null; exit $s' sh)
  status=112
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Espace insuffisant sur le disque'
  files='liste.xml out p.html'
  check='[ "$(cat ../inside.list)" = "$(printf "out\nout/aide.hhc\nout/aide.hhp")" ] && [ "$(cat ../old.hhc)" = ancien ]'
  ;;
base-name-in-missing-directory)
  echo "$page" > p.html
  echo "$list" > liste.xml
  args=(liste.xml absent/aide)
  status=3
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Le chemin d'"'"'accès spécifié est introuvable'
  files='liste.xml p.html'
  ;;
page-nested-100000-deep)
  python 'print("<html>" + "<div>" * 100000 + "<h1 id=\"a\">A</h1>" + "</div>" * 100000 + "</html>")' > p.html
  echo "$list" > liste.xml
  status=13
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Erreur durant l'"'"'analyse du fichier"p.html"
 Ligne=1, Colonne=1282
 Description="Éléments imbriqués sur plus de 256 niveaux".
Les données ne sont pas valides'
  files='liste.xml p.html'
  ;;
list-nested-100000-deep)
  echo "$page" > p.html
  python 'print("<files>" + "<file name=\"p.html\">" * 100000 + "</file>" * 100000 + "</files>")' > liste.xml
  status=13
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Erreur durant l'"'"'analyse du fichier"liste.xml"
 ligne=1, colonne=5108
 description="Éléments imbriqués sur plus de 256 niveaux"
Les données ne sont pas valides'
  files='liste.xml p.html'
  ;;
list-nested-at-the-limit)
  # 256 levels of elements are read. Each page adds an h1 and, with fillers,
  # an h6 one level deeper than the last: 1530 entries down to level 260, a
  # tab more on each (the longest line, with its CR, is 305 bytes).
  printf '<h1 id="a">A</h1><h6 id="f">F</h6>' > p.html
  python 'print("<files>" + "<file name=\"p.html\">" * 255 + "</file>" * 255 + "</files>")' > liste.xml
  status=0
  stdout="${banner}"$'\nTraitement du fichier "liste.xml"'$(printf '\nTraitement du fichier "p.html"%.0s' {1..255})
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html'
  check='[ "$(grep -c "<LI>" aide.hhc)" = 1530 ] && [ "$(awk "{ if (length > m) m = length } END { print m }" aide.hhc)" = 305 ]'
  ;;
ix-with-100000-parts)
  python 'print("<html><body><h1 id=\"a\">A</h1>\n<p ix=\"" + "|".join("k%d" % i for i in range(100000)) + "\">x</p></body></html>")' > p.html
  echo "$list" > liste.xml
  status=13
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Erreur durant l'"'"'analyse du fichier"p.html"
 Ligne=2, Colonne=1
 Description="Attribut ix de plus de 256 niveaux".
Les données ne sont pas valides'
  files='liste.xml p.html'
  ;;
interrupted-while-writing)
  # Terminated while it writes a page's diagnostic copy (about 300 MB, since
  # each line is indented by four spaces per level): the copy's temporary
  # file goes with the process. The signal would reach strace rather than the
  # tool, so this case has no traced run.
  python 'print("<a>" * 255 + "<b/>" * 300000 + "<c>")' > p.html
  echo "$list" > liste.xml
  inside=(bash -c '"$@" > output & tool=$!
    for i in $(seq 600); do grep -q "pour diagnostic" output && break; sleep 0.05; done
    sleep 0.2; kill -TERM $tool; wait $tool; status=$?; cat output; rm output; exit $status' bash)
  traced=no
  status=143
  stdout="${banner}"'
Traitement du fichier "liste.xml"
Traitement du fichier "p.html"
Erreur durant l'"'"'analyse du fichier"p.html"
 Ligne=2, Colonne=1
 Description="Error reading end tag.".
 Génération du fichier "p.html.xml" pour diagnostic.'
  files='liste.xml p.html'
  ;;
stdout-closed-early)
  # A reader that stops after one byte: the messages that no longer reach it
  # are lost, and the run goes on to write every output.
  echo "$page" > p.html
  python 'print("<files>" + "<file name=\"p.html\"/>" * 1000 + "</files>")' > liste.xml
  inside=(bash -c '"$@" | head -c 1 > /dev/null; exit ${PIPESTATUS[0]}' bash)
  status=0
  stdout=''
  files='aide.hhc aide.hhk aide.hhp liste.xml p.html'
  check='[ "$(grep -c "^p.html" aide.hhp)" = 1000 ]'
  ;;
complete-run)
  # Everything the tool writes in a successful run, in a nested layout.
  mkdir -p aide/pages out
  echo "$page" > aide/pages/p.html
  echo '<files title="Aide"><file name="pages\p.html" default="1"/><table name="toc.tpl"/><index name="ix.tpl"/></files>' > aide/liste.xml
  printf '<ul>\n  <!-- <template target="main" /> -->\n</ul>\n' > aide/toc.tpl
  printf '<ul>\n<!-- <template /> -->\n</ul>\n' > aide/ix.tpl
  args=('aide\liste.xml' out/aide)
  status=0
  stdout="${banner}"'
Traitement du fichier "aide\liste.xml"
Traitement du fichier "aide\pages\p.html"
Traitement du template "aide\toc.tpl"
Traitement du template "aide\ix.tpl"'
  files='aide aide/ix.html aide/ix.tpl aide/liste.xml aide/pages aide/pages/p.html aide/toc.html aide/toc.tpl out out/aide.hhc out/aide.hhk out/aide.hhp'
  check='has_line out/aide.hhp "Default topic=aide\\pages\\p.html" && grep -q "target=\"main\"" aide/toc.html'
  ;;
*)
  echo "unknown case: $name"; exit 2 ;;
esac

}

# Makes a fresh copy of the case in directory $1 and goes there. As root the
# tool runs as nobody, so that permission bits count.
as=()
prepare() {
  mkdir -p "$1" && cd "$1" || exit 1
  lay_out
  if [ "$(id -u)" = 0 ]; then
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    chmod 755 "$scratch"
    # A build tree under a private directory (a fresh clone in mktemp -d)
    # is out of nobody's reach: run a copy of the binary from the scratch tree.
    if ! "${as[@]}" test -x "$bin"; then
      cp "$bin" "$scratch/quorvane" && chmod 755 "$scratch/quorvane" && bin=$scratch/quorvane
      "${as[@]}" test -x "$bin" || skip "the user nobody cannot run $bin"
    fi
    chmod -R a+rwX .
  fi
  eval "$restrict"
}

# The first run: status, output, files afterwards, inputs unchanged.
prepare "$scratch/root"
before=$(find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum)
"${inside[@]}" "${as[@]}" "$bin" "${args[@]}" > "$scratch/stdout" 2> "$scratch/stderr"
actual_status=$?
chmod -R u+rwX . 2>/dev/null

fail=0
if [ "$actual_status" != "$status" ]; then echo "exit status: expected $status, got $actual_status"; fail=1; fi
actual_stdout=$(sed 's/^Quorvane - compiled on .*$/Quorvane - compiled on <stamp>/' "$scratch/stdout" | iconv -f CP1252 -t UTF-8)
if [ "$actual_stdout" != "$stdout" ]; then
  echo "standard output differs (expected, then actual):"
  diff <(echo "$stdout") <(echo "$actual_stdout") | head -20
  fail=1
fi
if [ -s "$scratch/stderr" ]; then echo "unexpected stderr:"; head -20 "$scratch/stderr"; fail=1; fi

actual_files=$(find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
expected_files=$(tr ' ' '\n' <<< "$files" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
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
if [ $fail = 0 ] && ! (eval "$check"); then echo "check of the outputs failed: $check"; fail=1; fi

# The second run, on a fresh copy under strace (where LeakSanitizer cannot
# work: the first run has checked for leaks).
[ "$traced" = yes ] || exit $fail
command -v strace >/dev/null || { echo "strace not found: run scripts/install-deps.sh test"; exit 1; }
prepare "$scratch/traced"
trace="$scratch/trace"
"${inside[@]}" env ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" strace -f -qq -o "$trace" \
  -e trace=open,openat,creat,truncate,rename,renameat,renameat2,unlink,unlinkat,mkdir,mkdirat,link,linkat,symlink,symlinkat \
  "${as[@]}" "$bin" "${args[@]}" > /dev/null 2>&1
chmod -R u+rwX . 2>/dev/null

# What the tool may write: base.hhp/.hhc/.hhk, X.html beside a template X.tpl,
# P.xml beside a page P, and temporary files in the directories of those.
base=${args[1]//\\//}
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
