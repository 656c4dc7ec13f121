#!/usr/bin/env bash
# `cmake --install` of a build: the installed files are there, a CMake project links the engine
# through find_package(korden) and a C program through pkg-config, both run it, and so does the
# installed command.
# Usage: install_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $what"
  fi
}

libdir=$(dirname "$(find "$prefix" -name 'libkorden.so' | head -n1)")
check "the library is installed" [ -f "$libdir/libkorden.so" ]
check "the command is installed" [ -x "$prefix/bin/korden" ]
check "the header is installed" [ -f "$prefix/include/korden/korden.h" ]
check "the CMake package is installed" [ -f "$libdir/cmake/korden/korden-config.cmake" ]
check "the pkg-config file is installed" [ -f "$libdir/pkgconfig/korden.pc" ]

# A folder with a one-case input, as a host prepares it.
case_dir() {
  mkdir -p "$1"
  cp "$root/examples/cantilever_sheet_pile_english.dat" "$1/case.dat"
  printf '%s\n' "INSTALL TEST" "" "" 0 case.dat case.out case.plt case.aux case.pyc case.prs \
    >"$1/NAMES.dat"
}
runs_to_the_end() {  # runs_to_the_end PROGRAM DIR
  (cd "$2" && "$1") && [ "$(tail -n1 "$2/case.out")" = "     END OF ANALYSIS" ]
}

cmake -S "$root/tests/install/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
check "a CMake project builds against korden::korden" cmake --build "$work/consumer" >/dev/null
case_dir "$work/run-cmake"
check "the CMake consumer runs the engine" runs_to_the_end "$work/consumer/consumer" "$work/run-cmake"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
check "pkg-config knows korden 1.0" pkg-config --atleast-version=1.0 korden
# shellcheck disable=SC2046
check "a C program builds with pkg-config's flags" cc -std=c11 -Wall -Wextra -Wpedantic -Werror \
  -o "$work/consumer-pc" "$root/tests/install/consumer.c" $(pkg-config --cflags --libs korden) \
  -Wl,-rpath,"$(pkg-config --variable=libdir korden)"
case_dir "$work/run-pc"
check "the pkg-config consumer runs the engine" runs_to_the_end "$work/consumer-pc" "$work/run-pc"

case_dir "$work/run-command"
check "the installed command runs the engine" runs_to_the_end "$prefix/bin/korden" "$work/run-command"

echo "Install test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
