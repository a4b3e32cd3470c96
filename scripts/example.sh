#!/usr/bin/env bash
# Builds the tool and runs it on the bundled French help set in examples/.
# The tool writes the compiled help itself (--chm); when chmcmd is present, it
# compiles a second one, aide-chmcmd.chm, for comparison.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh" build
cmake --preset release -S "$root" >/dev/null
cmake --build --preset release -j"$(nproc)" >/dev/null
cd "$root/examples"
"$root/build/release/quorvane" --chm aide/liste.xml aide
echo
echo "Written in $root/examples:"
echo "  aide.hhp, aide.hhc, aide.hhk     the help compiler's project, contents and index"
echo "  aide/sommaire.html, aide/motscles.html   contents and index pages"
echo "  aide/index.html                 the frameset; open it in a browser (index.html?ctx=1001 opens a context)"
echo "  aide.chm                        the compiled help, written by the tool itself"
if command -v chmcmd >/dev/null; then
  # chmcmd writes the project's "Compiled file": keep ours aside meanwhile.
  # It keeps an alias only when it names a page of [FILES] as written (no
  # anchor), then stops on the [MAP] number of any other: it gets the project
  # without its [ALIAS] and [MAP] sections.
  mv aide.chm aide.chm.ours
  awk '/^\[/ { skip = /^\[(ALIAS|MAP)\]/ } !skip' aide.hhp >aide-chmcmd.hhp
  chmcmd aide-chmcmd.hhp >chmcmd.log 2>&1 || true
  rm -f aide-chmcmd.hhp
  if [ -f aide.chm ]; then
    mv aide.chm aide-chmcmd.chm
    echo "  aide-chmcmd.chm                 the same compiled by chmcmd (its output is in chmcmd.log)"
  else
    echo "chmcmd did not produce its aide.chm; see examples/chmcmd.log"
  fi
  mv aide.chm.ours aide.chm
fi
