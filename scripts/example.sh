#!/usr/bin/env bash
# Builds the tool and runs it on the bundled French help set in examples/.
# When a help compiler (chmcmd) is present, also compiles the .chm.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" build
cmake --preset release -S "$root" >/dev/null
cmake --build --preset release -j"$(nproc)" >/dev/null
cd "$root/examples"
"$root/build/release/quorvane" aide/liste.xml aide
echo
echo "Written in $root/examples:"
echo "  aide.hhp, aide.hhc, aide.hhk     the help compiler's project, contents and index"
echo "  aide/sommaire.html, aide/motscles.html   contents and index pages; open aide/index.html in a browser"
if command -v chmcmd >/dev/null; then
  chmcmd aide.hhp >chmcmd.log 2>&1 || true
  if [ -f aide.chm ]; then
    echo "  aide.chm                        the compiled help (chmcmd's output is in chmcmd.log)"
  else
    echo "chmcmd did not produce aide.chm; see examples/chmcmd.log"
  fi
fi
