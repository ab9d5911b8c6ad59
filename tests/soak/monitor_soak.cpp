// The real monitor window, ticked and repainted synchronously many times:
// each cycle is one SampleLoad and one paint through UpdateWindow. The
// sampling timer is stopped so that every paint is one of ours. Prints its
// memory and the time per tick and per paint; soak.sh runs it under Wine's
// gdi trace and checks the figures.
#include <windows.h>

#include "embedded_font.h"
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
  const soak::Options options = soak::ParseArgs(argc, argv);
  if (options.marks) soak::Mark("start");
  // Static, so that the exit in soak::Fail removes it too.
  static const zqtest::ScratchUserHive hive;
  if (!hive.ok()) soak::Fail("no scratch user hive", -1);
  const EmbeddedFont typeface;
  if (!RegisterButtonClass() || !RegisterMainWndClass()) soak::Fail("class registration", -1);
  const HWND hwnd = CreateMainWnd();
  if (!hwnd) soak::Fail("window creation", -1);
  KillTimer(hwnd, IDT_SAMPLE);  // the cycles tick it, not the timer
  MainWndData* data = MainWndRecord(hwnd);

  // Showing the window saves its place half a second later; that one-off
  // registry work belongs to the start, not to the steady state.
  const auto saved = [] { return zqtest::ReadRaw(settings::kKeyPath, settings::kPosY).present; };
  if (!zqtest::PumpUntil(saved, 5000)) soak::Fail("no start-up position save", -1);

  soak::Stopwatch tick, paint;
  for (long i = 0; i < options.warmup; ++i) {
    if (!Cycle(hwnd, *data, tick, paint)) soak::Fail("warm-up paint", i);
    zqtest::DispatchPending();
  }
  if (options.marks) soak::Mark("begin");
  const soak::Memory memStart = soak::MemoryNow();
  const DWORD gdiStart = soak::GdiObjectsNow();

  soak::Stopwatch ticks, paints;
  for (long i = 0; i < options.cycles; ++i) {
    if (options.marks) soak::Mark("cycle", i);
    if (!Cycle(hwnd, *data, ticks, paints)) soak::Fail("the tick did not lead to one paint", i);
    zqtest::DispatchPending();
  }
  if (options.marks) soak::Mark("end");
  const soak::Memory memEnd = soak::MemoryNow();
  const DWORD gdiEnd = soak::GdiObjectsNow();

  soak::Report("monitor", options, memStart, memEnd, gdiStart, gdiEnd);
  soak::Figure("tick_us", ticks.TotalMicros() / static_cast<double>(options.cycles));
  soak::Figure("paint_us", paints.TotalMicros() / static_cast<double>(options.cycles));
  DestroyWindow(hwnd);
  zqtest::DispatchPending();
  if (options.marks) soak::Mark("exit");
  return 0;
}
