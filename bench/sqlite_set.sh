# Sourced by the benches that read Debian's sqlite3-doc pages: lays the help
# set the consumer test reads in the folder $1 (made anew), from the pages of
# $2, and leaves the pages in list order in the array `pages`. The list file,
# liste.xml, reads them as HTML.
lay_sqlite_set() {
  local work=$1 doc=$2 folder page
  rm -rf "$work"
  mkdir -p "$work"
  ln -s "$doc" "$work/doc"
  pages=()
  for folder in "" c3ref/; do
    while IFS= read -r page; do pages+=("doc/$folder$page"); done \
      < <(cd "$work/doc/$folder" && ls -1 -- *.html | LC_ALL=C sort)
  done
  {
    echo '<files title="Documentation" pages="html">'
    printf '  <file name="%s"/>\n' "${pages[@]}"
    echo '</files>'
  } > "$work/liste.xml"
}
