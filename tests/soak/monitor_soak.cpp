// The real monitor window, ticked and repainted synchronously many times:
// each cycle is one SampleLoad and one paint through UpdateWindow. The
// sampling timer is stopped so that every paint is one of ours. Prints its
// memory and the time per tick and per paint; soak.sh runs it under Wine's
// gdi trace and checks the figures.
#include <windows.h>

#include "main_window.h"
#include "settings.h"
#include "soak_support.h"
#include "support/zqtest.h"
#include "wbuttonex.h"

namespace {

// One tick and one paint; false if the paint did not happen as asked.
bool Cycle(HWND hwnd, MainWndData& data, soak::Stopwatch& tick, soak::Stopwatch& paint) {
  tick.Start();
  data.SampleLoad();
  tick.Stop();
  if (!GetUpdateRect(hwnd, nullptr, FALSE)) return false;  // the tick asks for the repaint
  paint.Start();
  UpdateWindow(hwnd);
  paint.Stop();
  return !GetUpdateRect(hwnd, nullptr, FALSE);
}

}  // namespace

int main(int argc, char** argv) {
  const soak::Options options = soak::Start(argc, argv);
  if (!RegisterButtonClass() || !RegisterMainWndClass()) soak::Fail("class registration", -1);
  const HWND hwnd = CreateMainWnd();
  if (!hwnd) soak::Fail("window creation", -1);
  KillTimer(hwnd, IDT_SAMPLE);  // the cycles tick it, not the timer
  MainWndData* data = MainWndRecord(hwnd);

  // Showing the window saves its place half a second later; that one-off
  // registry work belongs to the start, not to the steady state.
  const auto saved = [] { return zqtest::ReadRaw(settings::kKeyPath, settings::kPosY).present; };
  if (!zqtest::PumpUntil(saved, 5000)) soak::Fail("no start-up position save", -1);

  const soak::Timings t = soak::Run("monitor", options, [&](long i, bool warmUp, soak::Timings& timings) {
    if (!Cycle(hwnd, *data, timings.first, timings.second))
      soak::Fail(warmUp ? "warm-up paint" : "the tick did not lead to one paint", i);
  });
  soak::Figure("tick_us", t.first.TotalMicros() / static_cast<double>(options.cycles));
  soak::Figure("paint_us", t.second.TotalMicros() / static_cast<double>(options.cycles));
  return soak::End(options, hwnd);
}
