#!/usr/bin/env bash
# windows_test_list.sh LIST TEST...: a build on Windows itself registers
# exactly these tests, each run directly, and the Windows test list in the
# folder LIST holds the same. Shown with the cross toolchain and the Wine
# emulator off, which configures as Windows does: no Wine, and none of the
# tests that drive Wine from Linux.
source "$(dirname "${BASH_SOURCE[0]}")/../support/shell-test.sh"
list=$1
shift

build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
cmake -S "$ZQ_ROOT" -B "$build" --toolchain "$ZQ_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DZQ_WINE_EMULATOR=OFF >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log" >&2; die "the configuration without Wine fails"; }

# ctest -N before a build also says each program is missing; only the list counts.
listed() { ctest --test-dir "$1" -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: //p' | sort; }
expected=$(printf '%s\n' "$@" | sort)
same_tests() {  # same_tests WHAT DIR
  if [ "$(listed "$2")" = "$expected" ]; then
    pass "$1 holds the Win32 programs and the scenarios: $(echo "$expected" | tr "\n" " ")"
  else
    diff <(echo "$expected") <(listed "$2") | sed 's/^/  /' >&2
    fail "$1 holds the Win32 programs and the scenarios (< expected, > listed)"
  fi
}
same_tests "a Windows build" "$build"
same_tests "the Windows test list" "$list"
unsandboxed() { ! grep -rq --include=CTestTestfile.cmake wine-sandbox "$build" "$list"; }
check "no test runs through the Wine sandbox" unsandboxed
finish
