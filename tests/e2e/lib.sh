# Helpers for end-to-end scenarios: they run inside scripts/wine-sandbox (a Wine
# prefix and an X display of their own) and act only as a person would, with
# the pointer, the keyboard, screenshots and the registry.
set -uo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
DEBIAN_PYTHON=/usr/bin/python3
SETTINGS_KEY='HKCU\Software\QUORVANE\Zelvaquint\1'
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
GADGET_TITLE='QUORVANE Zelvaquint'
DIALOG_TITLE='Zelvaquint - User Agreement'
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  if [ "$failures" -eq 0 ]; then echo "scenario passed"; exit 0; fi
  echo "scenario failed: $failures check(s)" >&2; exit 1
}

# wait_until SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds.
wait_until() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  while ! "$@" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# The id of the visible window titled exactly $1 (empty when there is none).
window_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
window_exists() { [ -n "$(window_named "$1")" ]; }
window_absent() { [ -z "$(window_named "$1")" ]; }
window_shows() { await_window "$@" >/dev/null; }  # as a check, quietly
await_window() {  # await_window TITLE [SECONDS] -> prints the id
  local id=
  wait_until "${2:-30}" window_exists "$1" || return 1
  window_named "$1"
}

# Registry access through Wine's own reg tool.
reg_value() {  # reg_value KEY NAME -> "TYPE DATA", or nothing when missing
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
    awk -v n="$2" '$1 == n { t = $2; $1 = ""; $2 = ""; sub(/^  /, ""); print t " " $0 }'
}
value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }  # value_is KEY NAME "TYPE DATA"
has_value() { [ -n "$(reg_value "$1" "$2")" ]; }
reg_key_exists() { wine reg query "$1" >/dev/null 2>&1; }
reg_set() {  # reg_set KEY NAME TYPE DATA
  wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}
reg_delete_value() { wine reg delete "$1" /v "$2" /f >/dev/null 2>&1; }

# Starts the gadget in the background; gadget_wait collects its exit code
# into GADGET_CODE (in this shell: a subshell cannot wait for it).
GADGET_PID=
GADGET_CODE=
start_gadget() {  # start_gadget EXE
  wine "$1" >"${ZQ_SANDBOX_DIR:-/tmp}/gadget.out" 2>&1 &
  GADGET_PID=$!
}
gadget_running() { kill -0 "$GADGET_PID" 2>/dev/null; }
gadget_wait() {  # waits (bounded) for the gadget to end
  GADGET_CODE=timeout
  wait_until "${1:-30}" bash -c "! kill -0 $GADGET_PID" || return 1
  wait "$GADGET_PID"
  GADGET_CODE=$?
}

# Window geometry as shell variables X, Y, WIDTH, HEIGHT.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# The Windows path of a Unix file.
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# Accepts the agreement with Enter, when its dialog shows.
accept_agreement() {
  local id
  id=$(await_window "$DIALOG_TITLE") || return 1
  xdotool windowfocus --sync "$id" key Return
}

screenshot() { import -window root "$1"; }
