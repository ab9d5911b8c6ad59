// The cost of one sampling tick: the mean time of SampleLoad over many calls,
// against a real window that receives the repaint requests.
#include <windows.h>

#include <cstdio>

#include "main_window.h"

int main() {
  constexpr int kTicks = 10000;
  MainWndData data;
  data.hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 349, 366, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  data.SampleLoad();  // the first tick also looks up the build number

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kTicks; ++i) data.SampleLoad();
  QueryPerformanceCounter(&end);

  const double micros = 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart) / kTicks;
  std::printf("tick_us %.2f\n", micros);
  DestroyWindow(data.hwnd);
  return 0;
}
