// A window of WButtonEx controls in every mode and both skin styles, with a
// status line that follows their reports.
#include <windows.h>

#include <string>

#include "gadget_face.h"
#include "gallery_res.h"
#include "handles.h"
#include "report_log.h"
#include "wbuttonex.h"

namespace {

struct Demo {
  int id;
  const char* key;  // name in the status line and the log
  const wchar_t* text;
  int mode;
  int skinStyle;
  int skin;
  RECT at;  // left, top, width, height
};

const Demo kDemos[] = {
    {IDC_PUSH, "push", L"PUSH", BXMODE_PUSH, BXSKIN_FRAMED, IDB_GALLERY_FRAMED, {20, 20, 120, 36}},
    {IDC_TOGGLE, "toggle", L"TOGGLE", BXMODE_TOGGLE, BXSKIN_FRAMED, IDB_GALLERY_FRAMED, {160, 20, 120, 36}},
    {IDC_CYCLE, "cycle", L"CYCLE", BXMODE_CYCLE, BXSKIN_STRIP, IDB_GALLERY_STRIP, {300, 24, 120, 28}},
    {IDC_SPIN, "spin", L"SPIN", BXMODE_SPIN, BXSKIN_FRAMED, IDB_GALLERY_FRAMED, {20, 80, 64, 64}},
    {IDC_LATCH, "latch", L"LATCH", BXMODE_LATCH, BXSKIN_STRIP, IDB_GALLERY_STRIP, {160, 98, 120, 28}},
    {IDC_OFF, "off", L"OFF", BXMODE_PUSH, BXSKIN_FRAMED, IDB_GALLERY_FRAMED, {300, 94, 120, 36}},
};

struct Gallery {
  HWND hwnd = nullptr;
  HWND status = nullptr;
  ReportLog log;
  int latchCount = 0;
};

Gallery* g_gallery = nullptr;

const Demo* DemoOf(UINT_PTR id) {
  for (const Demo& d : kDemos)
    if (static_cast<UINT_PTR>(d.id) == id) return &d;
  return nullptr;
}

HWND CreateDemo(HWND parent, const Demo& d) {
  const HWND b = CreateWindowExW(0, WBUTTONEX_CLASS, d.text, WS_CHILD | WS_VISIBLE, d.at.left, d.at.top,
                                 d.at.right, d.at.bottom, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)),
                                 GetModuleHandleW(nullptr), nullptr);
  ButtonExSet(b, BXM_MODE, d.mode, 0);
  ButtonExSet(b, BXM_SKINSTYLE, d.skinStyle, 0);
  ButtonExSet(b, BXM_SKINBITMAP, d.skin, 0);
  ButtonExSetColor(b, BXC_NORMAL, RGB(226, 230, 236), 0);
  ButtonExSetColor(b, BXC_HOVER, RGB(255, 255, 255), 0);
  ButtonExSetColor(b, BXC_PRESSED, RGB(200, 206, 214), 0);
  return b;
}

// Icons, ranges and margins that show what each mode can do.
void DecorateDemos(HWND parent) {
  const HWND push = GetDlgItem(parent, IDC_PUSH);
  ButtonExSet(push, BXM_ICON1, IDB_GALLERY_DOT, 0);
  ButtonExSet(push, BXM_ICON1POS, BXPAIR(10, 12), 0);
  ButtonExSet(push, BXM_ICON2, IDB_GALLERY_CHECK, 0);
  ButtonExSet(push, BXM_ICON2POS, BXPAIR(10, 12), 0);  // from the right edge

  const HWND toggle = GetDlgItem(parent, IDC_TOGGLE);
  ButtonExSet(toggle, BXM_ICON1, IDB_GALLERY_DOT, 0);  // unchecked
  ButtonExSet(toggle, BXM_ICON1POS, BXPAIR(10, 12), 0);
  ButtonExSet(toggle, BXM_ICON2, IDB_GALLERY_CHECK, 0);  // checked, same place
  ButtonExSet(toggle, BXM_ICON2POS, BXPAIR(10, 12), 0);
  ButtonExSet(toggle, BXM_TEXTX, 30, 0);

  ButtonExSet(GetDlgItem(parent, IDC_CYCLE), BXM_RANGE, BXPAIR(0, 3), 0);

  const HWND spin = GetDlgItem(parent, IDC_SPIN);
  ButtonExSet(spin, BXM_RANGE, BXPAIR(0, 50), 0);
  ButtonExSet(spin, BXM_MARGIN, 4, 0);

  EnableWindow(GetDlgItem(parent, IDC_OFF), FALSE);
}

std::string StatusText(Gallery& g) {
  auto get = [&](int id, UINT msg) { return SendMessageW(GetDlgItem(g.hwnd, id), msg, 0, 0); };
  return "push v=" + std::to_string(get(IDC_PUSH, BXM_VALUE)) +
         " | toggle c=" + std::to_string(get(IDC_TOGGLE, BXM_CHECKED)) +
         " | cycle v=" + std::to_string(get(IDC_CYCLE, BXM_VALUE)) +
         " | spin v=" + std::to_string(get(IDC_SPIN, BXM_VALUE)) +
         " | latch n=" + std::to_string(g.latchCount);
}

void Report(Gallery& g, const std::string& line) {
  g.log.Line(line);
  const std::string status = StatusText(g);
  SetWindowTextA(g.status, (line + "   " + status).c_str());
  g.log.Line("STATUS " + status);
}

LRESULT OnCreate(HWND hwnd) {
  g_gallery->hwnd = hwnd;
  for (const Demo& d : kDemos) CreateDemo(hwnd, d);
  DecorateDemos(hwnd);
  g_gallery->status = CreateWindowExW(0, L"STATIC", L"Click, hold, drag and hover the buttons.",
                                      WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 160, 420, 20, hwnd,
                                      reinterpret_cast<HMENU>(IDC_STATUS), GetModuleHandleW(nullptr), nullptr);
  return 0;
}

LRESULT OnCommand(WPARAM wParam, LPARAM lParam) {
  const Demo* d = DemoOf(LOWORD(wParam));
  if (!d || !lParam) return 0;
  const HWND b = reinterpret_cast<HWND>(lParam);
  if (d->id == IDC_LATCH) ++g_gallery->latchCount;
  Report(*g_gallery, std::string("COMMAND ") + d->key + " v=" + std::to_string(ButtonExGet(b, BXM_VALUE)) +
                         " c=" + std::to_string(ButtonExGet(b, BXM_CHECKED)));
  return 0;
}

LRESULT OnNotify(const NMHDR* nm) {
  const Demo* d = DemoOf(nm->idFrom);
  if (!d) return 0;
  Report(*g_gallery, std::string(nm->code == BXN_HOVER ? "HOVER " : "LEAVE ") + d->key);
  return 0;
}

LRESULT CALLBACK GalleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(hwnd);
    case WM_COMMAND:
      return OnCommand(wParam, lParam);
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

// Where each button sits on the screen, so a driver can point at it.
void LogLayout(Gallery& g) {
  for (const Demo& d : kDemos) {
    RECT r{};
    GetWindowRect(GetDlgItem(g.hwnd, d.id), &r);
    g.log.Line(std::string("LAYOUT ") + d.key + " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
               std::to_string(r.right) + " " + std::to_string(r.bottom));
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // The buttons' typeface, for this process only.
  const win32::UniqueFontResource font(AddFontFromResource(instance, IDR_GALLERY_FONT, nullptr));
  if (!RegisterButtonClass()) return 1;

  WNDCLASSW wc{};
  wc.lpfnWndProc = GalleryProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"ZqGallery";
  if (!RegisterClassW(&wc)) return 1;

  Gallery gallery;
  g_gallery = &gallery;
  RECT frame{0, 0, 460, 200};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  const HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"WButtonEx Gallery", style, 40, 40,
                                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                    nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  LogLayout(gallery);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  g_gallery = nullptr;
  return 0;
}
