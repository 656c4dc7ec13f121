#!/usr/bin/env bash
# Builds the engine and runs it on a bundled example; prints where the report is and what it found.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEN_TESTS=OFF >/dev/null
cmake --build "$root/build" -j2 >/dev/null
example=${1:-$root/examples/cantilever_sheet_pile_english.dat}
"$root/build/korden" run "$example" --out "$root/out"
