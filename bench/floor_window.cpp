// The floor for what a gadget costs on the desktop: a bare 349 x 366 window
// with a one-second timer that copies one prepared bitmap per tick.
#include <windows.h>

#include "handles.h"

namespace {

const win32::BitmapDc* g_source = nullptr;

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_PAINT: {
      const win32::PaintGuard paint(hwnd);
      if (g_source) BitBlt(paint.dc(), 0, 0, 349, 366, g_source->dc(), 0, 0, SRCCOPY);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ZqFloorWindow";
  RegisterClassW(&wc);
  const HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"floor", WS_POPUP | WS_VISIBLE,
                                    100, 100, 349, 366, nullptr, nullptr, instance, nullptr);
  win32::BitmapDc source;
  {
    const win32::WindowDcGuard screen(hwnd);
    source = win32::BitmapDc(screen.dc(), CreateCompatibleBitmap(screen.dc(), 349, 366));
  }
  PatBlt(source.dc(), 0, 0, 349, 366, WHITENESS);
  g_source = &source;
  SetTimer(hwnd, 1, 1000, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  g_source = nullptr;
  return 0;
}
