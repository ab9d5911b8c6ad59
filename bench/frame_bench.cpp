// The cost of one frame of the monitor window against its floors and its
// parts, all measured in one run on the real window. Not a test: it prints
// the figures, first as `name value` lines for scripts, then as a table.
//
//   scripts/wine-sandbox build/win-x86_64/bench/frame_bench.exe [FRAMES]
//
// frame: the real path, InvalidateRect + UpdateWindow, so WM_PAINT runs
// OnPaint. frame_direct: OnPaint's drawing (PaintFrame) called on a GetDC
// of the window, without the paint cycle; paint_cycle: the same window's
// paint cycle with nothing drawn. The parts are the painting's own steps
// (LoadBackground and CopyBackground into a new back buffer, DrawReadings,
// DrawChart, the copy to the window), each repeated alone.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "embedded_font.h"
#include "handles.h"
#include "main_window.h"
#include "painting.h"
#include "painting_steps.h"
#include "placement.h"
#include "support/zqtest.h"

namespace {

std::int64_t Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

double TicksToMs(double ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return ticks * 1e3 / static_cast<double>(frequency.QuadPart);
}

// A new history for every frame, every value 1..100, so that each column
// has both bars and no two frames are alike.
void Scramble(LoadHistory& history, std::uint32_t& seed) {
  for (LoadSample& s : history) {
    seed = seed * 1664525u + 1013904223u;
    s.cpu = static_cast<std::uint8_t>(1 + (seed >> 8) % 100);
    s.mem = static_cast<std::uint8_t>(1 + (seed >> 20) % 100);
  }
}

LRESULT CALLBACK EmptyPaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return MainWndProc(hwnd, message, wParam, lParam);
  const win32::PaintGuard paint(hwnd);
  return 0;
}

struct Figure {
  const char* name;
  const char* label;
  double ticks = 0;              // all counted frames
  std::vector<double> rounds{};  // mean per frame of each round, in ticks
  double MeanMs(int frames) const { return TicksToMs(ticks / frames); }
  double MedianRoundMs() const {
    std::vector<double> r = rounds;
    std::sort(r.begin(), r.end());
    return TicksToMs(r[r.size() / 2]);
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int frames = argc > 1 ? std::max(1000, _wtoi(argv[1])) : 2000;
  const zqtest::ScratchUserHive hive;
  if (!hive.ok()) return 1;
  const EmbeddedFont typeface;
  if (!typeface.handle() || !RegisterMainWndClass()) return 1;
  const HWND hwnd = CreateMainWnd();
  if (!hwnd) return 1;
  MainWndData& data = *MainWndRecord(hwnd);
  KillTimer(hwnd, IDT_SAMPLE);  // the benchmark sets the history itself
  zqtest::DispatchPending();
  RECT client{};
  GetClientRect(hwnd, &client);
  if (client.right != kMainWndWidth || client.bottom != kMainWndHeight) {
    std::fprintf(stderr, "window is %ldx%ld, not %dx%d\n", client.right, client.bottom,
                 kMainWndWidth, kMainWndHeight);
    return 1;
  }

  enum Kind { kFrame, kDirect, kCycle, kBitblt, kBackgroundBitblt, kBackground, kReadings, kChart, kPresent, kKinds };
  std::array<Figure, kKinds> fig{{
      {"frame_ms", "frame (WM_PAINT: InvalidateRect + UpdateWindow)"},
      {"frame_direct_ms", "frame drawing alone (PaintFrame on GetDC)"},
      {"paint_cycle_ms", "paint cycle alone (same window, nothing drawn)"},
      {"bitblt_ms", "floor 1: bare 349x366 BitBlt to the window"},
      {"background_bitblt_ms", "floor 2: LoadBitmapW + select + BitBlt + release"},
      {"part_background_ms", "part: load background, copy into new back buffer"},
      {"part_readings_ms", "part: DrawReadings (2 texts, large font)"},
      {"part_chart_ms", "part: DrawChart (100 lines, 20 texts)"},
      {"part_present_ms", "part: copy to the window (present)"},
  }};

  constexpr int kRounds = 10;
  const int perRound = (frames + kRounds - 1) / kRounds;
  {
    // One window DC for the whole run, and a back buffer made once, for the
    // parts that draw into a buffer or copy from one; both go before the window.
    const win32::WindowDcGuard windowDc(hwnd);
    const HDC window = windowDc.dc();
    const win32::BitmapDc ready(window, CreateCompatibleBitmap(window, kMainWndWidth, kMainWndHeight));
    ComposeFrame(ready.dc(), data);
    const auto originalProc = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);

    std::uint32_t seed = 12345;
    const auto paint = [&] {
      Scramble(data.history, seed);
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
    };
    const auto direct = [&] {
      Scramble(data.history, seed);
      PaintFrame(window, kMainWndWidth, kMainWndHeight, data);
    };
    const auto emptyPaint = [&] {
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
    };
    const auto bitblt = [&] {
      BitBlt(window, 0, 0, kMainWndWidth, kMainWndHeight, ready.dc(), 0, 0, SRCCOPY);
    };
    const auto backgroundBitblt = [&] {
      const win32::BitmapDc background(window, LoadBackground());
      BitBlt(window, 0, 0, kMainWndWidth, kMainWndHeight, background.dc(), 0, 0, SRCCOPY);
    };
    // PaintFrame's steps up to the composing, in its order of acquisition and release.
    const auto partBackground = [&] {
      win32::BitmapDc background(window, LoadBackground());
      const win32::BitmapDc buffer(window, CreateCompatibleBitmap(window, kMainWndWidth, kMainWndHeight));
      CopyBackground(buffer.dc(), background.dc());
      background.reset();
    };
    const auto partReadings = [&] {
      Scramble(data.history, seed);
      DrawReadings(ready.dc(), data);
    };
    const auto partChart = [&] {
      Scramble(data.history, seed);
      DrawChart(ready.dc(), data);
    };

    const auto run = [&](Kind kind, int n) {
      if (kind == kCycle) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EmptyPaintProc));
      const std::int64_t start = Now();
      for (int i = 0; i < n; ++i) {
        switch (kind) {
          case kFrame: paint(); break;
          case kDirect: direct(); break;
          case kCycle: emptyPaint(); break;
          case kBitblt: bitblt(); break;
          case kBackgroundBitblt: backgroundBitblt(); break;
          case kBackground: partBackground(); break;
          case kReadings: partReadings(); break;
          case kChart: partChart(); break;
          case kPresent: bitblt(); break;
          case kKinds: break;
        }
        GdiFlush();
      }
      const std::int64_t ticks = Now() - start;
      if (kind == kCycle) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, originalProc);
      zqtest::DispatchPending();  // let the window reach the screen between rounds
      return static_cast<double>(ticks);
    };

    // Rounds of every kind alternate, so that drift in the machine's load
    // falls on all alike; a first, shorter round of each warms up uncounted.
    for (int k = 0; k < kKinds; ++k) run(static_cast<Kind>(k), perRound / 4 + 1);
    for (int round = 0; round < kRounds; ++round) {
      for (int k = 0; k < kKinds; ++k) {
        const double ticks = run(static_cast<Kind>(k), perRound);
        fig[k].ticks += ticks;
        fig[k].rounds.push_back(ticks / perRound);
      }
    }
  }
  const int counted = perRound * kRounds;
  DestroyWindow(hwnd);

  const auto ms = [&](Kind k) { return fig[k].MeanMs(counted); };
  const double parts = ms(kBackground) + ms(kReadings) + ms(kChart) + ms(kPresent);
  const double toParts = ms(kFrame) / parts;
  const double toBitblt = ms(kFrame) / ms(kBitblt);
  const double directToParts = ms(kDirect) / parts;

  for (const Figure& f : fig) std::printf("%s %.4f\n", f.name, f.MeanMs(counted));
  std::printf("parts_sum_ms %.4f\n", parts);
  std::printf("ratio_frame_to_parts %.3f\n", toParts);
  std::printf("ratio_frame_to_bitblt %.1f\n", toBitblt);
  std::printf("ratio_frame_direct_to_parts %.3f\n", directToParts);

  std::printf("\n%d frames of each, in %d interleaved rounds; window %dx%d\n", counted, kRounds,
              kMainWndWidth, kMainWndHeight);
  std::printf("%-52s %10s %12s\n", "", "mean ms", "median round");
  for (const Figure& f : fig)
    std::printf("%-52s %10.4f %12.4f\n", f.label, f.MeanMs(counted), f.MedianRoundMs());
  std::printf("%-52s %10.4f\n", "sum of the four parts", parts);
  std::printf("%-52s %10.2f x\n", "frame / bare BitBlt", toBitblt);
  std::printf("%-52s %10.3f x\n", "frame / sum of parts", toParts);
  std::printf("%-52s %10.3f x\n", "frame drawing alone / sum of parts", directToParts);
  std::printf("target frame <= 1.1 x sum of parts: %s (%.3f x)\n", toParts <= 1.1 ? "met" : "missed",
              toParts);
  return 0;
}
