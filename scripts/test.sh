#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests (with the sanitizers) and the Windows programs under Wine, in one
# CTest run that ends with its summary line.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/bootstrap.sh

jobs=$(nproc)
arch=$(scripts/wine-arch)

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DZQ_WERROR=ON >/dev/null
cmake --build build/native -j"$jobs"

# The shipped 32-bit program always builds; the tests run in the build whose
# programs this host's Wine can start.
cmake -S . -B build/win-i686 --toolchain cmake/toolchain-i686-w64-mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DZQ_WERROR=ON -DZQ_NATIVE_BUILD_DIR="$PWD/build/native" >/dev/null
cmake --build build/win-i686 -j"$jobs"
if [ "$arch" != i686 ]; then
  cmake -S . -B "build/win-$arch" --toolchain "cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DZQ_WERROR=ON -DZQ_NATIVE_BUILD_DIR="$PWD/build/native" >/dev/null
  cmake --build "build/win-$arch" -j"$jobs"
fi

cd "build/win-$arch"
exec ctest -j"$jobs" --output-on-failure "$@"
