// The first-run agreement gate.
#pragma once

#include <windows.h>

// The procedure of the IDD_AGREEMENT dialog: fills in the text, ends with 1
// on "Accept" and 0 on "Close", Esc or the caption's close box.
INT_PTR CALLBACK AgreementDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
