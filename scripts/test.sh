#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests (with the sanitizers) and the Windows programs under Wine, in one
# CTest run that ends with its summary line.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-and-gadget.sh"
zq_prepare

zq_build build/native -DCMAKE_BUILD_TYPE=Debug -DZQ_WERROR=ON
# libFuzzer targets, built with clang; each runs ZQ_FUZZ_SECONDS in the run.
zq_build build/fuzz -DZQ_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_WERROR=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DZQ_FUZZ_SECONDS="${ZQ_FUZZ_SECONDS:-60}"

# The shipped 32-bit program always builds; the tests run in the build whose
# programs this host's Wine can start.
extra="$PWD/build/native;$PWD/build/fuzz"
zq_build_windows i686 -DZQ_WERROR=ON -DZQ_EXTRA_TEST_DIRS="$extra"
[ "$ZQ_ARCH" = i686 ] || zq_build_windows "$ZQ_ARCH" -DZQ_WERROR=ON -DZQ_EXTRA_TEST_DIRS="$extra"

cd "$ZQ_BUILD"
exec ctest -j"$(nproc)" --output-on-failure "$@"
