#!/usr/bin/env bash
# user_settings_kept.sh LIST: a person who runs the Windows test list on
# their own desktop keeps their gadget as it was. The folder LIST is copied
# elsewhere, as the Windows job unpacks it, and every one of its tests runs,
# one after another, with Wine standing in for Windows, in one Wine prefix
# that holds a user's gadget: an agreement of 7, the place (123, 45) and a
# Run value for their own copy, on a desktop that smooths text with ClearType.
# Afterwards the user's keys export byte for byte as before.
source "$(dirname "${BASH_SOURCE[0]}")/../support/shell-test.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZQ_SANDBOX_PREFIX=$work/prefix
sandbox() { "$ZQ_ROOT/scripts/wine-sandbox" "$@"; }

cp -r "$1" "$work/unpacked tests" || die "the Windows test list copied"

# What the user's keys hold, as Windows' reg tool writes them out.
user_keys() {
  sandbox bash -c "wine reg export 'HKCU\\Software\\QUORVANE' '$(windows_dir)\\gadget-$1.reg' /y &&
                   wine reg export '$run_key' '$(windows_dir)\\run-$1.reg' /y" \
    >/dev/null 2>&1
}
windows_dir() { echo "Z:${work//\//\\}"; }
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# Their desktop smooths text with ClearType, as Windows does by default.
seed_user() {
  reg_set "$SETTINGS_KEY" UserAgreement REG_DWORD 7 && reg_set "$SETTINGS_KEY" PosX REG_DWORD 123 &&
    reg_set "$SETTINGS_KEY" PosY REG_DWORD 45 &&
    reg_set "$run_key" Zelvaquint REG_SZ '"C:\Users\Public\Zelvaquint\Zelvaquint.exe"' &&
    reg_set 'HKCU\Control Panel\Desktop' FontSmoothing REG_SZ 2 &&
    reg_set 'HKCU\Control Panel\Desktop' FontSmoothingType REG_DWORD 2
}
export run_key
export -f reg_set seed_user
sandbox bash -c seed_user || die "a user's gadget seeded"
user_keys before || die "the user's keys exported"
show() { for f in "$@"; do iconv -f UTF-16 -t UTF-8 "$f" | tr -d '\r' | grep -v '^$' | sed "s|^|  $(basename "$f"): |"; done; }
show "$work"/gadget-before.reg "$work"/run-before.reg

ZQ_TEST_LAUNCHER=$ZQ_ROOT/scripts/wine-sandbox ctest --test-dir "$work/unpacked tests" --output-on-failure \
  >"$work/ctest.log" 2>&1
ran=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$work/ctest.log")
check "every test of the Windows build passes in the user's prefix ($(grep 'tests passed' "$work/ctest.log"))" \
  grep -q '100% tests passed' "$work/ctest.log"
[ "${ran:-0}" -gt 20 ] || fail "the Windows build's tests ran (${ran:-none})"
# The failed tests' own output: the log goes with the scratch folder.
grep -q '100% tests passed' "$work/ctest.log" || cat "$work/ctest.log" >&2

user_keys after || die "the user's keys exported afterwards"
show "$work"/gadget-after.reg "$work"/run-after.reg
check "the gadget's key is byte for byte as before" cmp "$work/gadget-before.reg" "$work/gadget-after.reg"
check "the Run key is byte for byte as before" cmp "$work/run-before.reg" "$work/run-after.reg"
finish
