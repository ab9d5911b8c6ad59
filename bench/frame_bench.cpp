// Time of one composed frame of the monitor window, painted through its own
// WM_PAINT, against one bare 349 x 366 BitBlt onto the same window, both in
// one run. Not a test: it prints the figures.
//
//   scripts/winbench build/win-x86_64/bench/frame_bench.exe [FRAMES]
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "embedded_font.h"
#include "main_window.h"
#include "painting.h"
#include "placement.h"

namespace {

void DispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A new history for every frame, so that no two frames are alike.
void Scramble(LoadHistory& history, std::uint32_t& seed) {
  for (LoadSample& s : history) {
    seed = seed * 1664525u + 1013904223u;
    s.cpu = static_cast<std::uint8_t>((seed >> 8) % 101);
    s.mem = static_cast<std::uint8_t>((seed >> 20) % 101);
  }
}

// Frames painted by the window itself: invalidate, then WM_PAINT at once.
double ComposedFrames(HWND hwnd, MainWndData& data, int frames, std::uint32_t& seed) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < frames; ++i) {
    Scramble(data.history, seed);
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

// A bare copy that also releases its DC each time, which is when Wine
// pushes the window's changed pixels to the X server.
double PresentedBlits(HWND hwnd, HDC frame, int frames) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < frames; ++i) {
    const HDC dc = GetDC(hwnd);
    BitBlt(dc, 0, 0, kMainWndWidth, kMainWndHeight, frame, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

// What OnPaint spends on its back buffer alone: a new bitmap compatible
// with the window, a DC for it, one copy into it, and both released.
double FreshBackBuffers(HWND hwnd, HDC frame, int frames) {
  const HDC dc = GetDC(hwnd);
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < frames; ++i) {
    const HDC buffer = CreateCompatibleDC(dc);
    const HBITMAP bitmap = CreateCompatibleBitmap(dc, kMainWndWidth, kMainWndHeight);
    SelectObject(buffer, bitmap);
    BitBlt(buffer, 0, 0, kMainWndWidth, kMainWndHeight, frame, 0, 0, SRCCOPY);
    DeleteDC(buffer);
    DeleteObject(bitmap);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  ReleaseDC(hwnd, dc);
  return Seconds(start, end);
}

LRESULT CALLBACK EmptyPaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  BeginPaint(hwnd, &ps);
  EndPaint(hwnd, &ps);
  return 0;
}

// The platform's paint cycle with nothing drawn, on a window of the same
// size and kind: what any WM_PAINT costs before the first pixel.
HWND CreateEmptyPaintWindow() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = EmptyPaintProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"ZqBenchEmptyPaint";
  RegisterClassExW(&wc);
  return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                         kMainWndWidth, kMainWndHeight, nullptr, nullptr, wc.hInstance, nullptr);
}

double EmptyPaints(HWND hwnd, int frames) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < frames; ++i) {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

// Composition alone, into a memory DC: the frame without the paint cycle.
double ComposeOnly(HDC target, MainWndData& data, int frames, std::uint32_t& seed) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < frames; ++i) {
    Scramble(data.history, seed);
    ComposeFrame(target, data);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  return Seconds(start, end);
}

// The same window's area copied from a ready frame, nothing else.
double BareBlits(HWND hwnd, HDC frame, int frames) {
  const HDC dc = GetDC(hwnd);
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < frames; ++i) {
    BitBlt(dc, 0, 0, kMainWndWidth, kMainWndHeight, frame, 0, 0, SRCCOPY);
    GdiFlush();
  }
  QueryPerformanceCounter(&end);
  ReleaseDC(hwnd, dc);
  return Seconds(start, end);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int frames = argc > 1 ? std::max(1000, _wtoi(argv[1])) : 2000;
  const EmbeddedFont typeface;
  if (!typeface.handle() || !RegisterMainWndClass()) return 1;
  const HWND hwnd = CreateMainWnd();
  if (!hwnd) return 1;
  MainWndData& data = *MainWndRecord(hwnd);
  KillTimer(hwnd, IDT_SAMPLE);  // the benchmark sets the history itself
  DispatchPending();

  // A ready frame for the bare copies.
  const HDC windowDc = GetDC(hwnd);
  const HDC frameDc = CreateCompatibleDC(windowDc);
  const HBITMAP frameBitmap = CreateCompatibleBitmap(windowDc, kMainWndWidth, kMainWndHeight);
  ReleaseDC(hwnd, windowDc);
  const HGDIOBJ initial = SelectObject(frameDc, frameBitmap);
  ComposeFrame(frameDc, data);
  const HDC scratchDc = CreateCompatibleDC(frameDc);
  const HBITMAP scratchBitmap = CreateCompatibleBitmap(frameDc, kMainWndWidth, kMainWndHeight);
  const HGDIOBJ scratchInitial = SelectObject(scratchDc, scratchBitmap);

  // Rounds of both kinds alternate, so that drift in the machine's load
  // falls on both alike; the first round of each warms up and is not counted.
  constexpr int kRounds = 10;
  const int perRound = (frames + kRounds - 1) / kRounds;
  std::uint32_t seed = 12345;
  ComposedFrames(hwnd, data, perRound / 4 + 1, seed);
  BareBlits(hwnd, frameDc, perRound / 4 + 1);
  const HWND empty = CreateEmptyPaintWindow();
  DispatchPending();
  double composed = 0, bare = 0, composeOnly = 0, emptyPaint = 0, presented = 0, fresh = 0;
  for (int round = 0; round < kRounds; ++round) {
    composed += ComposedFrames(hwnd, data, perRound, seed);
    bare += BareBlits(hwnd, frameDc, perRound);
    composeOnly += ComposeOnly(scratchDc, data, perRound, seed);
    emptyPaint += EmptyPaints(empty, perRound);
    presented += PresentedBlits(hwnd, frameDc, perRound);
    fresh += FreshBackBuffers(hwnd, frameDc, perRound);
    DispatchPending();  // let the window reach the screen between rounds
  }
  const int counted = perRound * kRounds;

  SelectObject(scratchDc, scratchInitial);
  DeleteDC(scratchDc);
  DeleteObject(scratchBitmap);
  SelectObject(frameDc, initial);
  DeleteDC(frameDc);
  DeleteObject(frameBitmap);
  DestroyWindow(empty);
  DestroyWindow(hwnd);

  const double composedUs = composed / counted * 1e6;
  const double bareUs = bare / counted * 1e6;
  std::printf("frames per kind:        %d\n", counted);
  std::printf("composed frame (WM_PAINT): %9.1f us\n", composedUs);
  std::printf("bare 349x366 BitBlt:       %9.1f us\n", bareUs);
  std::printf("composition alone:         %9.1f us\n", composeOnly / counted * 1e6);
  std::printf("empty paint cycle:         %9.1f us\n", emptyPaint / counted * 1e6);
  std::printf("BitBlt with GetDC/ReleaseDC: %7.1f us\n", presented / counted * 1e6);
  std::printf("new back buffer, one copy:  %8.1f us\n", fresh / counted * 1e6);
  std::printf("ratio:                     %9.1f x\n", composedUs / bareUs);
  return 0;
}
