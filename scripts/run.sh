#!/usr/bin/env bash
# Builds the gadget and runs it under Wine: on $DISPLAY when there is one,
# otherwise on a private virtual display, saving a screenshot of the live
# window every two seconds. The Wine prefix lasts between runs, so the
# gadget remembers its agreement and its place like on a real desktop.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-and-gadget.sh"
zq_prepare
zq_build_windows "$ZQ_ARCH" -- Zelvaquint >/dev/null
exe="$PWD/$ZQ_BUILD/app/Zelvaquint.exe"
prefix=${ZQ_RUN_PREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/zelvaquint/wineprefix}

if [ -n "${DISPLAY:-}" ]; then
  echo "Zelvaquint runs on $DISPLAY (Wine prefix $prefix); close it with its cross button."
  exec scripts/wine-sandbox --use-display --prefix "$prefix" "$exe"
fi
exec scripts/wine-sandbox --prefix "$prefix" bash scripts/screenshot.sh --here --live "$PWD/out/zelvaquint-live.png" "$exe"
