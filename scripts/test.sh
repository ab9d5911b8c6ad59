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

# libFuzzer targets, built with clang; each runs ZQ_FUZZ_SECONDS in the run.
cmake -S . -B build/fuzz -DZQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_WERROR=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZQ_FUZZ_SECONDS="${ZQ_FUZZ_SECONDS:-60}" >/dev/null
cmake --build build/fuzz -j"$jobs"
extra="$PWD/build/native;$PWD/build/fuzz"

# The shipped 32-bit program always builds; the tests run in the build whose
# programs this host's Wine can start.
cmake -S . -B build/win-i686 --toolchain cmake/toolchain-i686-w64-mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DZQ_WERROR=ON -DZQ_EXTRA_TEST_DIRS="$extra" >/dev/null
cmake --build build/win-i686 -j"$jobs"
if [ "$arch" != i686 ]; then
  cmake -S . -B "build/win-$arch" --toolchain "cmake/toolchain-$arch-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DZQ_WERROR=ON -DZQ_EXTRA_TEST_DIRS="$extra" >/dev/null
  cmake --build "build/win-$arch" -j"$jobs"
fi

cd "build/win-$arch"
exec ctest -j"$jobs" --output-on-failure "$@"
