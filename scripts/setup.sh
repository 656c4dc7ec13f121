#!/usr/bin/env bash
# Installs the build tools the engine needs when they are missing (Debian packages; as root).
set -euo pipefail
need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v ninja >/dev/null 2>&1 || need+=(ninja-build)
command -v g++ >/dev/null 2>&1 || need+=(g++)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
# pkg-config for the test of the installed package.
command -v pkg-config >/dev/null 2>&1 || need+=(pkg-config)
# gfortran is the reference the number-format tests compare against.
command -v gfortran >/dev/null 2>&1 || need+=(gfortran)
# PLplot (its SVG driver) draws the plots of `korden run --plots`; xmllint checks them in the
# tests and rsvg-convert turns them into PNG pictures. The build takes PLplot's header only; the
# command loads libplplot.so.17 and the SVG driver (both in libplplot17) when it draws.
[ -f /usr/include/plplot/plplot.h ] || need+=(libplplot-dev)
compgen -G "/usr/lib/*/plplot*/drivers/svg.so" >/dev/null || need+=(libplplot17)
command -v xmllint >/dev/null 2>&1 || need+=(libxml2-utils)
command -v rsvg-convert >/dev/null 2>&1 || need+=(librsvg2-bin)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${need[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
  else
    echo "Missing packages: ${need[*]} (run as root, or install them with apt-get)" >&2
    exit 1
  fi
fi
