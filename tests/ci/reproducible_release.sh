#!/usr/bin/env bash
# reproducible_release.sh: the committed HEAD builds to the same program and
# zip in two clones of different names and lengths, in other time zones and
# umasks, a second apart, dated by the commit. Prints both sums of each.
source "$(dirname "${BASH_SOURCE[0]}")/../support/shell-test.sh"
unset SOURCE_DATE_EPOCH  # the date from git, as in a person's build

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
a=$work/a b=$work/a-checkout-of-a-much-longer-name
# release CLONE TZ UMASK: the release zip built in a fresh clone.
release() {
  (umask "$3" && export TZ=$2 && git clone -q "$ZQ_ROOT" "$1" && cd "$1" &&
    ZQ_WINDOWS_DIR=build zq_build_windows i686 -- dist) >"$1.log" 2>&1 ||
    { tail -30 "$1.log" >&2; die "the release built in $1"; }
}
release "$a" UTC0 022
built=$(date +%s)
later() { [ "$(date +%s)" -gt "$built" ]; }
wait_until 5 later || die "the clock moved on"
release "$b" ZQT-13:45 077

same() {  # same FILE: its sums in both builds, printed, are one
  local x y
  x=$(sha256sum "$a/build/$1" | cut -d' ' -f1) y=$(sha256sum "$b/build/$1" | cut -d' ' -f1)
  echo "$1: $x $y"
  [ "$x" = "$y" ]
}
check "the same program" same app/Zelvaquint.exe
check "the same zip" same "$(basename "$a"/build/Zelvaquint-*-win32.zip)"
stamp=$(i686-w64-mingw32-objdump -p "$a/build/app/Zelvaquint.exe" | sed -n 's/^Time\/Date[[:space:]]*//p')
commit=$(LC_ALL=C date -d "@$(git -C "$ZQ_ROOT" log -1 --format=%ct)" '+%a %b %e %T %Y')
check "the program is dated by its commit ($stamp)" [ "$stamp" = "$commit" ]
finish
