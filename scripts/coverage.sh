#!/usr/bin/env bash
# Line and branch coverage of the product code (app/, monitor/, toolkit/,
# win32/): builds instrumented copies of the native and the Windows build,
# runs every test there in one CTest run (extra arguments go to ctest) and
# prints each file's coverage over both builds, then the totals per build and
# over both. The fuzz build stays out.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-and-gadget.sh"
zq_prepare gcovr

native=build/cov-native
windows=build/cov-win-$ZQ_ARCH
report=build/coverage
instrument=(-DCMAKE_C_FLAGS="--coverage -O0" -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage)
zq_build "$native" -DCMAKE_BUILD_TYPE=Debug -DZQ_WERROR=ON -DZQ_SANITIZE=OFF "${instrument[@]}"
# The release build's own -O3 would come after the flags above.
ZQ_WINDOWS_DIR=$windows zq_build_windows "$ZQ_ARCH" -DZQ_WERROR=ON -DZQ_EXTRA_TEST_DIRS="$PWD/$native" \
  "${instrument[@]}" -DCMAKE_C_FLAGS_RELEASE="-O0 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O0 -DNDEBUG"

# Counts of this run only. A Windows program writes its counts when it exits
# normally, to its objects' Unix paths, which Wine reaches through Z:.
find "$native" "$windows" -name '*.gcda' -delete
status=0
# user_settings_kept runs the same programs once more, one at a time: it
# would add time, not coverage.
(cd "$windows" && ctest -j"$(nproc)" --output-on-failure -E '^user_settings_kept$' "$@") || status=$?
for dir in "$native" "$windows"; do
  [ -n "$(find "$dir" -name '*.gcda' -print -quit)" ] || { echo "coverage: no counts in $dir" >&2; exit 1; }
done

# Each build through its own compiler's gcov; throw branches and those of
# lines without code are not the program's decisions.
mkdir -p "$report"
product=(--root . --filter app/ --filter monitor/ --filter toolkit/ --filter win32/
         --exclude-throw-branches --exclude-unreachable-branches)
# The product's own objects only: a test program that compiles a product
# header in (handles.h, say) has its own copy of that code, not the product's.
objects() { for dir in app monitor toolkit; do [ -d "$1/$dir" ] && echo "$1/$dir"; done; }
mapfile -t native_objects < <(objects "$native")
mapfile -t windows_objects < <(objects "$windows")
gcovr "${product[@]}" --gcov-executable gcov --json "$report/native.json" "${native_objects[@]}"
gcovr "${product[@]}" --gcov-executable "$ZQ_ARCH-w64-mingw32-gcov" --json "$report/windows.json" "${windows_objects[@]}"
gcovr --add-tracefile "$report/native.json" --json-summary "$report/native-summary.json"
gcovr --add-tracefile "$report/windows.json" --json-summary "$report/windows-summary.json"
gcovr --add-tracefile "$report/native.json" --add-tracefile "$report/windows.json" \
  --json-summary "$report/both-summary.json"

"$PYTHON" - "$report" "$ZQ_ARCH" <<'EOF'
import json
import sys

report, arch = sys.argv[1:]


def ratio(covered, total):
    return f"{100 * covered / total:5.1f} % {covered:5}/{total:<5}" if total else f"{'-':>7} {'':11}"


def row(name, s):
    print(f"{name:<34} {ratio(s['line_covered'], s['line_total'])}  "
          f"{ratio(s['branch_covered'], s['branch_total'])}")


summaries = {name: json.load(open(f"{report}/{name}-summary.json")) for name in ("native", "windows", "both")}
print(f"{'':<34} {'lines':<19}  branches")
for f in sorted(summaries["both"]["files"], key=lambda f: f["filename"]):
    row(f["filename"], f)
print()
for name, title in (("native", "total, native"), ("windows", f"total, Windows {arch}"), ("both", "total, both")):
    row(title, summaries[name])
EOF
exit "$status"
