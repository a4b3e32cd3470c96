#!/usr/bin/env bash
# Installs the Debian packages the tool needs, only when some are missing.
#   install-deps.sh build   what building and running the tool needs
#   install-deps.sh test    that, plus what every test needs: clang-format,
#                           GoogleTest, clang for the fuzzers, chmcmd/chmls,
#                           chmlib, 7-Zip and libmspack to read the .chm back,
#                           Chromium and Node.js for the browser test, Python,
#                           strace, groff and man-db for the manual pages,
#                           dpkg-dev and lintian for the .deb, the pages of
#                           sqlite3-doc and git-doc for the consumer tests
#   install-deps.sh bench   that, plus what bench/run.sh needs: Google Benchmark,
#                           Python, valgrind (--callgrind)
set -euo pipefail
want=(g++ cmake make pkg-config libtinyxml-dev libgumbo-dev libicu-dev)
case ${1:-build} in
  build) ;;
  test) want+=(clang-format libgtest-dev clang libclang-rt-dev fp-utils libchm-bin python3-chm
              p7zip-full libmspack-dev chromium nodejs npm python3 strace groff-base man-db
              dpkg-dev lintian sqlite3-doc git-doc) ;;
  bench) want+=(libbenchmark-dev python3 valgrind) ;;
  *) echo "unknown list: $1 (build, test or bench)" >&2; exit 2 ;;
esac
missing=()
for package in "${want[@]}"; do
  # A Node.js build that bundles npm provides (and conflicts with) Debian's npm package.
  [ "$package" = npm ] && command -v npm >/dev/null && continue
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; else sudo=; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
