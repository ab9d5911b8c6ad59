#!/usr/bin/env bash
# seeded_agreement.sh EXE TYPE DATA: a stored UserAgreement of the given
# type and data either shows the dialog (REG_SZ "1", DWORD 0) or lets the
# gadget start at once and is rewritten as DWORD 1 (DWORD 5, 0xFFFFFFFF).
source "$(dirname "$0")/../support/lib.sh"
exe=$1 type=$2 data=$3
reg_set "$SETTINGS_KEY" UserAgreement "$type" "$data"

if [ "$type" = REG_DWORD ] && [ $((data)) -ne 0 ]; then
  start_program "$exe"
  check "the gadget starts without asking" window_shows "$GADGET_TITLE"
  check "no dialog showed" window_absent "$DIALOG_TITLE"
  check "the value now reads DWORD 1" wait_until 10 value_is "$SETTINGS_KEY" UserAgreement "REG_DWORD 0x1"
else
  start_program "$exe"
  check "the dialog asks again" window_shows "$DIALOG_TITLE"
  check "the value is untouched while asking" test -n "$(reg_value "$SETTINGS_KEY" UserAgreement)"
  accept_agreement
  check "the gadget starts after Enter" window_shows "$GADGET_TITLE"
  check "the value now reads DWORD 1" wait_until 10 value_is "$SETTINGS_KEY" UserAgreement "REG_DWORD 0x1"
fi
finish
