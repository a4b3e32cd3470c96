#!/usr/bin/env bash
# Checks what users get: the manual pages, the installed tree and the .deb.
#   check_package.sh man PAGE                        renders without a warning
#   check_package.sh install BUILD_DIR SOURCE_DIR WORK_DIR
#                                                    cmake --install lays out the files
#   check_package.sh deb SOURCE_DIR WORK_DIR VERSION release build, cpack -G DEB, then
#                                                    the package's fields, files and binary,
#                                                    and lintian
set -euo pipefail
mode=$1
fail() { echo "FAIL: $*"; exit 1; }

case $mode in
man)
  page=$2
  command -v groff >/dev/null || fail "groff not found: run scripts/install-deps.sh test"
  # -k reads the page's coding line (the French page is UTF-8), -t runs tbl
  # for the exit status table, -ww turns every warning on.
  warnings=$(groff -k -t -man -ww -Tutf8 -z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "groff warns about $page:"$'\n'"$warnings"
  # whatis and apropos index the NAME line; lexgrog reads it as they do.
  if command -v lexgrog >/dev/null; then
    lexgrog "$page" >/dev/null || fail "lexgrog cannot read the NAME section of $page"
  fi
  echo "$page renders without warnings"
  ;;

install)
  build=$2 source_dir=$3 prefix=$4/prefix
  rm -rf "$prefix"
  cmake --install "$build" --prefix "$prefix" >/dev/null
  [ -x "$prefix/bin/quorvane" ] || fail "bin/quorvane is missing or not executable"
  for pair in man1:man/quorvane.1 fr/man1:man/fr/quorvane.1; do
    installed=$prefix/share/man/${pair%%:*}/quorvane.1.gz
    [ -f "$installed" ] || fail "share/man/${pair%%:*}/quorvane.1.gz is missing"
    gzip -dc "$installed" | cmp -s - "$source_dir/${pair#*:}" \
      || fail "share/man/${pair%%:*}/quorvane.1.gz is not ${pair#*:}"
  done
  doc=$prefix/share/doc/quorvane
  for file in README.md examples/aide/liste.xml examples/aide/sommaire.tpl \
              examples/aide/motscles.tpl examples/aide/index.tpl examples/aide/contextes.h \
              examples/aide/pages/guide.html; do
    [ -f "$doc/$file" ] || fail "share/doc/quorvane/$file is missing"
  done
  # Files that a run of the tool leaves in the example must not be installed.
  leftovers=$(find "$doc/examples" -name sommaire.html -o -name motscles.html -o -name index.html -o -name '*.html.xml')
  [ -z "$leftovers" ] || fail "generated files installed: $leftovers"
  echo "install tree complete in $prefix"
  ;;

deb)
  source_dir=$2 work=$3 version=$4
  for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian; do
    command -v "$tool" >/dev/null || fail "$tool not found: run scripts/install-deps.sh test"
  done
  rm -rf "$work"
  mkdir -p "$work"
  cmake -S "$source_dir" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DQUORVANE_TESTS=OFF >/dev/null
  cmake --build "$work/build" -j2 >/dev/null
  (cd "$work/build" && cpack -G DEB >/dev/null)
  arch=$(dpkg --print-architecture)
  deb=$work/build/quorvane_${version}_${arch}.deb
  [ -f "$deb" ] || fail "cpack did not write $(basename "$deb"): $(ls "$work/build"/*.deb 2>/dev/null)"

  field() { dpkg-deb -f "$deb" "$1"; }
  [ "$(field Package)" = quorvane ] || fail "Package: $(field Package)"
  [ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
  [ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
  depends=$(field Depends)
  for library in libtinyxml libgumbo libicu; do
    [[ $depends == *"$library"* ]] || fail "Depends does not name $library: $depends"
  done
  listing=$(dpkg-deb -c "$deb")
  for path in ./usr/bin/quorvane ./usr/share/man/man1/quorvane.1.gz ./usr/share/man/fr/man1/quorvane.1.gz; do
    grep -q " $path\$" <<<"$listing" || fail "$path is not in the package"
  done

  dpkg-deb -x "$deb" "$work/root"
  doc=$work/root/usr/share/doc/quorvane
  # A new version needs its changelog entry.
  gzip -dc "$doc/changelog.gz" >"$work/changelog"
  changed=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
  [ "$changed" = "$version" ] || fail "the changelog's latest entry is $changed, the package $version"
  # Each library the binary needs, beyond the C and C++ runtimes, matches a
  # Files paragraph of the copyright file (patterns like usr/lib/*/libz.so.*).
  read -ra patterns <<<"$(sed -n 's|^Files: usr/lib/|usr/lib/|p' "$doc/copyright" | tr '\n' ' ')"
  for needed in $(objdump -p "$work/root/usr/bin/quorvane" | awk '$1 == "NEEDED" { print $2 }'); do
    [[ $needed =~ ^(libc|libm|libpthread|libdl|librt|libstdc\+\+|libgcc_s)\.so ]] && continue
    covered=
    for pattern in "${patterns[@]}"; do [[ usr/lib/any/$needed == $pattern ]] && covered=1; done
    [ -n "$covered" ] || fail "usr/share/doc/quorvane/copyright has no Files paragraph for $needed"
  done

  # The packaged binary on the packaged example, the way the manual page says.
  cp -R "$work/root/usr/share/doc/quorvane/examples" "$work/example"
  status=0
  (cd "$work/example" && "$work/root/usr/bin/quorvane" aide/liste.xml aide >run.log) || status=$?
  [ "$status" -eq 0 ] || fail "the packaged quorvane exited with $status: $(iconv -f CP1252 -t UTF-8 "$work/example/run.log")"
  for written in aide.hhc aide.hhk aide/sommaire.html aide/index.html; do
    [ -s "$work/example/$written" ] || fail "the packaged quorvane did not write $written"
  done
  echo "$(basename "$deb"): Depends: $depends"
  # Errors fail the test; warnings and notes are shown. (lintian tells root
  # that it would rather not run as root: that line is not about the package.)
  report=$(lintian "$deb" 2>&1 | { grep -v '^running with root privileges' || true; }) \
    || fail "lintian finds errors in the package:"$'\n'"$report"
  echo "lintian: no error${report:+$'\n'$report}"
  ;;

*)
  fail "unknown mode $mode"
  ;;
esac
