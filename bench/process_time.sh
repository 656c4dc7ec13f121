#!/usr/bin/env bash
# Whole-process time of the `korden` command on the benchmark wall (bench/deck.h), an older commit
# against the current tree, side by side:
#
#   bench/process_time.sh [--no-compare] [--runs N] OLD_COMMIT
#
# Builds OLD_COMMIT (in a temporary git worktree) and the current tree, both Release without the
# tests; writes the deck with the current tree's korden_deck into one folder per binary (each with
# its own NAMES.dat); checks that both write the same report, auxiliary and plot files
# (--no-compare skips that); runs each binary 3 times to warm up, then N times (default 30)
# alternating the two; prints the median wall and CPU (user + system) milliseconds of each and
# the ratio old / new. PROCESS_TIME_DIR=DIR keeps the builds (and the worktree of OLD_COMMIT) in
# DIR and reuses them next time; remove it with `git worktree remove DIR/old-src`.
set -euo pipefail

compare=1
runs=30
while [ $# -gt 0 ]; do
  case "$1" in
    --no-compare) compare=0; shift ;;
    --runs) runs="$2"; shift 2 ;;
    -*) echo "process_time.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
if [ $# -ne 1 ]; then
  echo "usage: bench/process_time.sh [--no-compare] [--runs N] OLD_COMMIT" >&2
  exit 2
fi
old_commit=$(git -C "$(dirname "$0")" rev-parse --verify "$1^{commit}")
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-2}

if [ -n "${PROCESS_TIME_DIR:-}" ]; then
  work=$PROCESS_TIME_DIR
  mkdir -p "$work"
  keep=1
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/korden-process-time-XXXXXX")
  keep=0
fi
cleanup() {
  if [ "$keep" = 0 ]; then
    git -C "$root" worktree remove --force "$work/old-src" 2>/dev/null || true
    rm -rf "$work"
  fi
}
trap cleanup EXIT

build() {  # SOURCE BUILD_DIR TARGET...
  local src=$1 dir=$2
  shift 2
  cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEN_TESTS=OFF >/dev/null
  cmake --build "$dir" -j"$jobs" --target "$@" >/dev/null
}

echo "== building $old_commit and the current tree (Release)"
# A kept worktree of the same commit is reused, so that its build is not redone.
if [ "$(git -C "$work/old-src" rev-parse HEAD 2>/dev/null)" != "$old_commit" ]; then
  git -C "$root" worktree remove --force "$work/old-src" 2>/dev/null || true
  git -C "$root" worktree add --detach --quiet "$work/old-src" "$old_commit"
fi
build "$work/old-src" "$work/old-build" korden_cli
build "$root" "$work/new-build" korden_cli korden_deck

for side in old new; do
  rm -rf "${work:?}/run-$side"
  mkdir -p "$work/run-$side"
  "$work/new-build/korden_deck" "$work/run-$side"
done

export SOURCE_DATE_EPOCH=1706774709
python3 - "$work" "$runs" "$compare" <<'PY'
import os, resource, statistics, subprocess, sys, time

work, runs, compare = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "1"
binary = {side: os.path.join(work, side + "-build", "korden") for side in ("old", "new")}
folder = {side: os.path.join(work, "run-" + side) for side in ("old", "new")}

def run(side):
    """One process: (wall ms, CPU ms), from its start to its reaping. subprocess starts it with
    vfork, so that the copy of this interpreter a fork makes is not counted as the child's."""
    start = time.perf_counter()
    child = subprocess.Popen([binary[side]], cwd=folder[side], stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = (time.perf_counter() - start) * 1e3
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit(f"process_time: the {side} korden failed (status {child.returncode})")
    return wall, (usage.ru_utime + usage.ru_stime) * 1e3

for _ in range(3):
    run("old"); run("new")
if compare:
    for ext in (".out", ".aux", ".plt"):
        a = open(os.path.join(folder["old"], "wall" + ext), "rb").read()
        b = open(os.path.join(folder["new"], "wall" + ext), "rb").read()
        if a != b:
            sys.exit(f"process_time: wall{ext} differs between the two builds (--no-compare skips this)")
    print("outputs: wall.out, wall.aux and wall.plt byte-identical")
times = {"old": [], "new": []}
for _ in range(runs):
    for side in ("old", "new"):
        times[side].append(run(side))
median = {side: (statistics.median(t[0] for t in times[side]),
                 statistics.median(t[1] for t in times[side])) for side in times}
print(f"{runs} alternating runs, medians:")
for side in ("old", "new"):
    print(f"  {side}: wall {median[side][0]:8.2f} ms   CPU {median[side][1]:8.2f} ms")
print(f"  ratio old/new: wall {median['old'][0] / median['new'][0]:.2f}x   "
      f"CPU {median['old'][1] / median['new'][1]:.2f}x")
PY
