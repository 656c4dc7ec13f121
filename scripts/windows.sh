#!/usr/bin/env bash
# Cross-builds the Windows engine with MinGW-w64 and tests it under wine64:
#   dist/windows-x64/ and dist/windows-x86/ each receive korden.dll (the one file the host
#   needs), its import library korden.lib, the korden.exe command and the public header korden.h.
# Installs the cross compilers and wine64 when they are missing (Debian packages; as root).
# `scripts/windows.sh --setup` only installs, and fails when the tools cannot be had.
# KORDEN_LINUX=path/to/korden compares with that Linux build instead of building one here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-2}

install_missing() {
  local need=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-x86-64-posix)
  command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-i686-posix)
  [ -x /usr/lib/wine/wine64 ] || need+=(wine64)
  [ ${#need[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${need[*]} (run as root, or install them with apt-get)" >&2
    return 1
  fi
  echo "Installing: ${need[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
}

"$root/scripts/setup.sh"
install_missing
[ "${1:-}" = --setup ] && exit 0

build="$root/build-windows"
linux_korden=${KORDEN_LINUX:-}
if [ -z "$linux_korden" ]; then
  echo "== Linux build (the outputs the Windows DLL must match)"
  cmake -S "$root" -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEN_TESTS=OFF >/dev/null
  cmake --build "$build/linux" -j"$jobs" --target korden_cli
  linux_korden="$build/linux/korden"
fi

for pair in x86_64:x64 i686:x86; do
  arch=${pair%%:*}
  dist="$root/dist/windows-${pair##*:}"
  echo "== Windows ${pair##*:} build"
  cmake -S "$root" -B "$build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORDEN_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$arch.cmake" >/dev/null
  cmake --build "$build/$arch" -j"$jobs"
  rm -rf "$dist"
  mkdir -p "$dist"
  cp "$build/$arch/korden.dll" "$build/$arch/korden.lib" "$build/$arch/korden.exe" \
    "$root/include/korden/korden.h" "$dist/"
done

echo "== Windows test"
"$root/tests/windows/windows_test.sh" "$linux_korden" "$build/test"
