#include "main_window.h"

#include <optional>

#include "painting.h"
#include "placement.h"
#include "resource.h"
#include "settings.h"

MainWndData::MainWndData(HWND window) : hwnd(window) {
  hSmallFont = CreateGadgetFont(kSmallFontHeight);
  hLargeFont = CreateGadgetFont(kLargeFontHeight);
  hCpuPen = CreateSeriesPen(kCpuColour);
  hMemPen = CreateSeriesPen(kMemColour);
  SetAutostart(true);
  SetTimer(hwnd, IDT_SAMPLE, kSamplePeriodMs, nullptr);
}

MainWndData::~MainWndData() {
  // A pending IDT_SAVEPOS dies with the window, and its save with it.
  if (hwnd) KillTimer(hwnd, IDT_SAMPLE);
  // Plain handles, deleted in the order they were made; owners would go in reverse.
  if (hSmallFont) DeleteObject(hSmallFont);
  if (hLargeFont) DeleteObject(hLargeFont);
  if (hCpuPen) DeleteObject(hCpuPen);
  if (hMemPen) DeleteObject(hMemPen);
}

LRESULT MainWndData::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate();
    case WM_DESTROY: return OnDestroy();
    case WM_PAINT: return OnPaint();
    case WM_CLOSE: return OnClose();
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(wParam, lParam);
    case WM_COMMAND: return OnCommand(wParam);
    case WM_TIMER: return OnTimer(wParam);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

LRESULT MainWndData::OnDestroy() {
  PostQuitMessage(0);
  return 0;
}

LRESULT MainWndData::OnClose() {
  DestroyWindow(hwnd);
  return 0;
}

LRESULT MainWndData::OnWindowPosChanged(WPARAM wParam, LPARAM lParam) {
  // Restarting the one-shot countdown makes a burst of changes one save.
  SetTimer(hwnd, IDT_SAVEPOS, kSavePosDelayMs, nullptr);
  return DefWindowProcW(hwnd, WM_WINDOWPOSCHANGED, wParam, lParam);
}

LRESULT MainWndData::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
  // The whole body acts as a caption, so the system drags the window by it;
  // the child buttons answer their own hit tests.
  const LRESULT hit = DefWindowProcW(hwnd, WM_NCHITTEST, wParam, lParam);
  return hit == HTCLIENT ? HTCAPTION : hit;
}

LRESULT MainWndData::OnTimer(WPARAM timerId) {
  switch (timerId) {
    case IDT_SAMPLE: SampleLoad(); break;
    case IDT_SAVEPOS: SavePosition(); break;
    default: break;
  }
  return 0;
}

void MainWndData::SavePosition() {
  RECT rect{};
  // A place that cannot be read is not saved: (0, 0) is not where the window is.
  if (GetWindowRect(hwnd, &rect)) {
    const SettingsKey key;
    key.WriteDword(settings::kPosX, static_cast<DWORD>(rect.left));
    key.WriteDword(settings::kPosY, static_cast<DWORD>(rect.top));
  }
  // Stopped whether or not the writes succeeded; the next move tries again.
  KillTimer(hwnd, IDT_SAVEPOS);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWndData* data = win32::RecordOf<MainWndData>(window);
  switch (message) {
    // Answered without the default processing, so WM_CREATE sets the text.
    case WM_NCCREATE: return win32::AttachRecord<MainWndData>(window) ? TRUE : FALSE;
    case WM_CREATE:
      win32::SetCreatedText(window, lParam);
      return data ? data->HandleMessage(WM_CREATE, wParam, lParam) : 0;
    case WM_NCDESTROY: win32::DetachRecord(window, data); return 0;
    default:
      // Messages before the record exists, WM_GETMINMAXINFO among them, get 0.
      return data ? data->HandleMessage(message, wParam, lParam) : 0;
  }
}

DWORD RegisterMainWndClass() {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};  // no background brush: OnPaint covers the whole client area
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = MainWndProc;
  wc.cbWndExtra = win32::kRecordBytes;
  wc.hInstance = module;
  wc.hIcon = LoadIconW(module, MAKEINTRESOURCEW(IDI_APP));
  wc.hIconSm = LoadIconW(module, MAKEINTRESOURCEW(IDI_APP));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWndClassName;
  return RegisterClassExW(&wc);
}

HWND CreateMainWnd() {
  const HWND owner = FindWindowW(L"Progman", nullptr);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const WindowOrigin centred = DefaultOrigin(screenWidth, screenHeight);

  const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWndClassName, kMainWndTitle,
                                      WS_POPUP | WS_CLIPCHILDREN, centred.x, centred.y,
                                      kMainWndWidth, kMainWndHeight, owner, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  UpdateWindow(window);
  ShowWindow(window, SW_SHOW);

  // Each coordinate falls back on its own; with no key both stay centred.
  std::optional<DWORD> savedX;
  std::optional<DWORD> savedY;
  {
    const SettingsKey key;
    savedX = key.ReadDword(settings::kPosX);
    savedY = key.ReadDword(settings::kPosY);
  }
  const WindowOrigin origin = PlaceMainWnd(savedX, savedY, screenWidth, screenHeight);
  SetWindowPos(window, HWND_TOP, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOOWNERZORDER);
  return window;
}
