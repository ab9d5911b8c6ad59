#!/usr/bin/env bash
# first_start.sh EXE GESTURE: a first start on a clean profile, answered with
# GESTURE: escape, close-button or close-box decline; enter or accept-button
# accept.
source "$(dirname "$0")/../support/lib.sh"
exe=$1 gesture=$2

start_program "$exe"
dialog=$(await_window "$DIALOG_TITLE") || die "the agreement dialog appears"
pass "the agreement dialog appears"
check "the settings key exists while the dialog shows" reg_key_exists "$SETTINGS_KEY"
check "no acceptance is recorded yet" test -z "$(reg_value "$SETTINGS_KEY" UserAgreement)"

geometry "$dialog"
case "$gesture" in
  escape) xdotool windowfocus --sync "$dialog" key Escape ;;
  enter) xdotool windowfocus --sync "$dialog" key Return ;;
  close-box) xdotool mousemove $((X + WIDTH - 12)) $((Y + 10)) click 1 ;;
  close-button | accept-button)
    # The buttons sit on the dialog's bottom row: "Close" left, "Accept" right.
    if [ "$gesture" = close-button ]; then bx=$((X + 40)); else bx=$((X + WIDTH - 40)); fi
    xdotool mousemove "$bx" $((Y + HEIGHT - 25)) click 1 ;;
esac

case "$gesture" in
  escape | close-button | close-box)
    check "the dialog goes" wait_until 20 window_absent "$DIALOG_TITLE"
    check_exit_0 "declining ends the process with 0"
    check "no acceptance is recorded" test -z "$(reg_value "$SETTINGS_KEY" UserAgreement)"
    check "the key stays" reg_key_exists "$SETTINGS_KEY"
    check "no gadget window ever showed" window_absent "$GADGET_TITLE"
    ;;
  enter | accept-button)
    check "the gadget appears" window_shows "$GADGET_TITLE"
    check "the acceptance is REG_DWORD 1" wait_until 10 value_is "$SETTINGS_KEY" UserAgreement "REG_DWORD 0x1"
    check "the gadget keeps running" program_running
    ;;
esac
finish
