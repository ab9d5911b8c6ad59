#!/usr/bin/env bash
# gadget.sh EXE SCENARIO [URL_RECORDER]: the running gadget as a person uses
# it. Scenarios: autostart, close-button, alt-f4, donate, two-copies,
# without-font, without-dialog.
source "$(dirname "$0")/../support/lib.sh"
exe=$1 scenario=$2
DONATION_URL='http://www.quorvane.example/donate.php'

start_accepted() {  # a gadget whose agreement was accepted before
  accepted start_program "$exe"
  GADGET=$(await_window "$GADGET_TITLE") || die "the gadget appears"
  geometry "$GADGET"
}

case "$scenario" in
  autostart)
    start_accepted
    want="\"$(windows_path "$exe")\""
    check "the Run value holds the quoted path ($want)" \
      test "$(reg_value "$RUN_KEY" Zelvaquint)" = "REG_SZ $want"
    ;;

  close-button)
    start_accepted
    check "the position is saved after the start" wait_until 10 has_value "$SETTINGS_KEY" PosY
    posx=$(reg_value "$SETTINGS_KEY" PosX) posy=$(reg_value "$SETTINGS_KEY" PosY)
    # Hover: the dark tile shows under the pointer and goes when it leaves.
    xdotool mousemove $((X + 312)) $((Y + 33)); xdotool mousemove $((X + 313)) $((Y + 33))
    close_tile() { on_screen tile $((X + 295)) $((Y + 16)) "$ZQ_ROOT/res/close.bmp" "$1"; }
    check "hovering shows the close button's hover tile" wait_until 10 close_tile 1
    xdotool mousemove $((X + 150)) $((Y + 300))
    check "the tile goes when the pointer leaves" wait_until 10 close_tile 0
    xdotool mousemove $((X + 312)) $((Y + 33)) click 1
    check_exit_0 "a click on close ends the process with 0"
    check "the Run value is removed" test -z "$(reg_value "$RUN_KEY" Zelvaquint)"
    check "the saved position stays" test "$(reg_value "$SETTINGS_KEY" PosX)|$(reg_value "$SETTINGS_KEY" PosY)" = "$posx|$posy"
    ;;

  alt-f4)
    start_accepted
    xdotool mousemove $((X + 150)) $((Y + 300))
    xdotool windowfocus --sync "$GADGET" key alt+F4
    check_exit_0 "Alt+F4 ends the process with 0"
    check "the Run value stays" test -n "$(reg_value "$RUN_KEY" Zelvaquint)"
    ;;

  donate)
    recorder=$3
    log=$ZQ_SANDBOX_DIR/urls.txt
    program_log ZQ_URL_LOG "$log"
    wine reg add 'HKLM\Software\Classes\http\shell\open\command' /ve /d "\"$(windows_path "$recorder")\" \"%1\"" /f >/dev/null 2>&1
    start_accepted
    xdotool mousemove $((X + 274)) $((Y + 33)) click 1
    logged() { [ "$(wc -l <"$log")" -ge "$1" ]; }
    check "the handler receives the donation page" wait_until 20 logged 1
    xdotool mousemove $((X + 275)) $((Y + 33)) click 1
    check "a second click opens it again" wait_until 20 logged 2
    check "exactly the donation URL, twice" test "$(cat "$log")" = "$(printf '%s\n%s' "$DONATION_URL" "$DONATION_URL")"
    check "the gadget keeps running" program_running
    ;;

  two-copies)
    start_accepted
    first=$PROGRAM_PID
    start_program "$exe"
    two() { [ "$(windows_named "$GADGET_TITLE" | wc -l)" -eq 2 ]; }
    check "a second copy runs its own window" wait_until 30 two
    check "both copies keep running" kill -0 "$first"
    ;;

  without-font)
    start_accepted
    check "the gadget runs without its typeface" program_running
    ;;

  without-dialog)
    # The dialog template is missing: the start-up says so and records nothing.
    start_program "$exe"
    box=$(await_window Ostrevo) || fail "an error message shows"
    check "no acceptance is recorded" test -z "$(reg_value "$SETTINGS_KEY" UserAgreement)"
    [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
    check_exit_0 "the process ends with 0"
    check "still no acceptance" test -z "$(reg_value "$SETTINGS_KEY" UserAgreement)"
    check "no gadget window showed" window_absent "$GADGET_TITLE"
    ;;
esac
finish
