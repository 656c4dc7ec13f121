#!/usr/bin/env bash
# Builds the engine and runs it on a bundled example whose earth pressure and p-y curves are
# generated from the soil layers, with plots; prints the summary and where the pictures are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEN_TESTS=OFF >/dev/null
cmake --build "$root/build" -j2 >/dev/null
example=${1:-$root/examples/curves_sand_si.dat}
status=0
"$root/build/korden" run "$example" --out "$root/out" --plots --csv || status=$?
echo "Pictures (SVG, open them in a web browser) and tables are in $root/out"
exit "$status"
