# shellcheck shell=bash disable=SC2034  # variables for those who source it
# Helpers of the shell tests. They run inside scripts/wine-sandbox (a Wine
# prefix and an X display of their own) and act only as a person would, with
# the pointer, the keyboard, screenshots and the registry.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/build-and-gadget.sh"

# Verdicts: check notes a failure and goes on, die ends the test at once.
# A test may define on_failure to show more when it fails.
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
die() { fail "$@"; finish; }
finish() {
  if [ "$failures" -eq 0 ]; then echo "scenario passed"; exit 0; fi
  if declare -F on_failure >/dev/null; then on_failure; fi
  echo "scenario failed: $failures check(s)" >&2; exit 1
}

# The Windows path of a Unix file.
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
# program_log VAR FILE: empties FILE, a log that programs started later find
# through VAR as a Windows path.
program_log() { : >"$2" && export "$1=$(windows_path "$2")"; }

# image COMMAND PICTURE ARGS...: what tests/support/image.py reads from a
# picture; on_screen COMMAND ARGS... reads it from the screen as it is now.
image() { "$PYTHON" "$ZQ_ROOT/tests/support/image.py" "$@"; }
on_screen() {
  local shot=$ZQ_SANDBOX_DIR/screen.png
  import -window root "$shot" && image "$1" "$shot" "${@:2}"
}

# figure FILE NAME: the value of the line "NAME VALUE" in FILE.
figure() { awk -v n="$2" '$1 == n { print $2 + 0; exit }' "$1"; }
