// The floor for what a gadget costs on the desktop: a bare 349 x 366 window
// with a one-second timer that copies one prepared bitmap per tick.
#include <windows.h>

namespace {

HDC g_source = nullptr;

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = BeginPaint(hwnd, &ps);
      BitBlt(dc, 0, 0, 349, 366, g_source, 0, 0, SRCCOPY);
      EndPaint(hwnd, &ps);
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
  const HDC screen = GetDC(hwnd);
  g_source = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 349, 366);
  const HGDIOBJ old = SelectObject(g_source, bitmap);
  PatBlt(g_source, 0, 0, 349, 366, WHITENESS);
  ReleaseDC(hwnd, screen);
  SetTimer(hwnd, 1, 1000, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);

  SelectObject(g_source, old);
  DeleteDC(g_source);
  DeleteObject(bitmap);
  return 0;
}
