// The monitor window's buttons and their commands.
#include <windows.h>
#include <shellapi.h>

#include "main_window.h"
#include "resource.h"
#include "settings.h"
#include "wbuttonex.h"

namespace {

// A reserved host until the maker's own is known, so no third party receives
// the traffic.
constexpr wchar_t kDonationPage[] = L"http://www.quorvane.example/donate.php";

constexpr int kButtonTop = 16;
constexpr int kButtonSize = 35;

// A strip-skinned button over its glyph in the artwork; its hot area is the
// whole square. Not kept: it lives and dies with the monitor window.
void CreateSkinnedButton(HWND parent, int id, int left, UINT skin) {
  const HWND button = CreateWindowExW(0, WBUTTONEX_CLASS, L"", WS_CHILD | WS_VISIBLE, left, kButtonTop,
                                      kButtonSize, kButtonSize, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                      GetModuleHandleW(nullptr), nullptr);
  ButtonExSet(button, BXM_SKINBITMAP, skin, 0);
  ButtonExSet(button, BXM_SKINSTYLE, BXSKIN_STRIP, 0);
  ButtonExSet(button, BXM_MARGIN, 0, 0);
}

}  // namespace

LRESULT MainWndData::OnCreate() {
  CreateSkinnedButton(hwnd, IDC_CLOSE, 295, IDB_CLOSE);
  CreateSkinnedButton(hwnd, IDC_DONATE, 257, IDB_DONATE);
  return 0;
}

LRESULT MainWndData::OnCommand(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case IDC_CLOSE:
      // Closed for good: no start at the next logon either.
      SetAutostart(false);
      SendMessageW(hwnd, WM_CLOSE, 0, 0);
      break;
    case IDC_DONATE:
      ShellExecuteW(nullptr, L"open", kDonationPage, nullptr, nullptr, SW_SHOWNORMAL);
      break;
    default:
      break;
  }
  return 0;
}
