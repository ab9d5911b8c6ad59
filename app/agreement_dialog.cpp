#include "agreement_dialog.h"

#include "agreement_text.h"
#include "resource.h"

INT_PTR CALLBACK AgreementDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, IDC_AGREEMENT_TEXT, kAgreementText);
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ACCEPT:
          EndDialog(dialog, 1);
          break;
        case IDC_DECLINE:
        case IDCANCEL:  // Esc and the caption's close box
          EndDialog(dialog, 0);
          break;
        default:  // IDOK included: only the Accept button accepts
          break;
      }
      break;
    default:
      break;
  }
  // Never reported as handled, so the dialog manager keeps its defaults
  // (the initial focus among them).
  return FALSE;
}
