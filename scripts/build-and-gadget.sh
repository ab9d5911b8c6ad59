# shellcheck shell=bash disable=SC2034  # variables for those who source it
# Shell helpers of the scripts and the tests: the build, and the gadget's
# windows, processes and settings as seen from outside under Wine.
# Source it, or run one of its functions: bash scripts/build-and-gadget.sh FUNCTION [ARGS...]

ZQ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Debian's own, which has PIL and fontTools.
PYTHON=/usr/bin/python3

# What the gadget and the gallery call their windows and keep their settings
# in; the key is exported for the benchmarks' Python helpers.
GADGET_TITLE='QUORVANE Zelvaquint'
DIALOG_TITLE='Zelvaquint - User Agreement'
GALLERY_TITLE='WButtonEx Gallery'
export SETTINGS_KEY='HKCU\Software\QUORVANE\Zelvaquint\1'

# zq_prepare [PACKAGE...]: installs what is missing, with the PACKAGEs the
# calling command needs beyond the tests, and enters the checkout. ZQ_ARCH is
# the MinGW target this host's Wine runs, ZQ_BUILD its build folder.
zq_prepare() {
  cd "$ZQ_ROOT" && bash scripts/bootstrap.sh "$@" || return
  ZQ_ARCH=$(scripts/wine-arch)
  ZQ_BUILD=build/win-$ZQ_ARCH
}

# zq_build DIR [CONFIGURE_ARGS...] [-- TARGETS...]: configures DIR (quietly)
# and builds TARGETS there, or everything.
zq_build() {
  local dir=$1 configure=()
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do configure+=("$1"); shift; done
  [ $# -eq 0 ] || set -- --target "${@:2}"
  cmake -S . -B "$dir" "${configure[@]}" >/dev/null || return
  cmake --build "$dir" -j"$(nproc)" "$@"
}

# zq_build_windows ARCH [CONFIGURE_ARGS...] [-- TARGETS...]: the same for
# the MinGW-w64 release build of ARCH, in build/win-ARCH, or in ZQ_WINDOWS_DIR
# when that is set.
zq_build_windows() {
  local dir=${ZQ_WINDOWS_DIR:-build/win-$1} toolchain=()
  # Only for a new folder: a configured one keeps its toolchain, and CMake
  # would warn that the option went unused.
  [ -f "$dir/CMakeCache.txt" ] || toolchain=(--toolchain "cmake/toolchain-$1-w64-mingw32.cmake")
  zq_build "$dir" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release "${@:2}"
}

# wait_until SECONDS COMMAND...: polls COMMAND every 50 ms until it succeeds.
wait_until() {
  local end=$((SECONDS + $1))
  shift
  while ! "$@" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# The ids of the visible windows titled exactly $1, and the first of them.
windows_named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
window_named() { windows_named "$1" | head -n1; }
window_exists() { [ -n "$(window_named "$1")" ]; }
await_window() {  # await_window TITLE [SECONDS] -> prints the id
  wait_until "${2:-30}" window_exists "$1" && window_named "$1"
}

# exec_program COMMAND [ARGS...]: becomes COMMAND; a .exe runs with wine.
exec_program() {
  if [[ "$1" == *.exe ]]; then exec wine "$@"; else exec "$@"; fi
}

# start_program COMMAND [ARGS...]: runs it in the background; PROGRAM_PID is
# the last one started. An EXIT trap ends whatever of them still runs.
PROGRAM_PID=
PROGRAM_PIDS=()
start_program() {
  exec_program "$@" &
  PROGRAM_PID=$!
  PROGRAM_PIDS+=("$PROGRAM_PID")
  trap stop_programs EXIT
}
program_running() { kill -0 "$PROGRAM_PID" 2>/dev/null; }
stop_programs() {
  kill "${PROGRAM_PIDS[@]}" 2>/dev/null || true
  wait "${PROGRAM_PIDS[@]}" 2>/dev/null || true
}

reg_set() {  # reg_set KEY NAME TYPE DATA
  wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1
}

# accepted COMMAND...: runs COMMAND once the agreement is recorded as
# accepted, as after an earlier first start.
accepted() { reg_set "$SETTINGS_KEY" UserAgreement REG_DWORD 1 && "$@"; }

# Accepts the agreement with Enter once its dialog shows.
accept_agreement() {
  local id
  id=$(await_window "$DIALOG_TITLE") && xdotool windowfocus --sync "$id" key Return
}

# await_gadget [SECONDS]: prints the id of the gadget's window once the
# program started last shows it. A first-start agreement on the way is
# accepted once, on the user's behalf, and the output says so.
gadget_or_end() { window_exists "$GADGET_TITLE" || ! program_running; }
gadget_or_question() { gadget_or_end || window_exists "$DIALOG_TITLE"; }
await_gadget() {
  local limit=${1:-60} me
  me=$(basename "$0")
  if wait_until "$limit" gadget_or_question && ! gadget_or_end; then
    echo "$me: the user agreement showed; accepting it with Enter on the user's behalf." >&2
    accept_agreement
  fi
  wait_until "$limit" gadget_or_end || { echo "$me: no window titled '$GADGET_TITLE'" >&2; return 1; }
  program_running || { echo "$me: the program ended without a window" >&2; return 1; }
  window_named "$GADGET_TITLE"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then "$@"; fi
