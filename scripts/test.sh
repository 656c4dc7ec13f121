#!/usr/bin/env bash
# Builds the engine and its tests twice, plainly and under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite in both builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=${JOBS:-2}
for variant in release asan; do
  dir="$root/build-test-$variant"
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  [ "$variant" = asan ] && flags=(-DCMAKE_BUILD_TYPE=Debug -DKORDEN_SANITIZE=ON)
  echo "== $variant build"
  cmake -S "$root" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "== $variant tests"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
done
