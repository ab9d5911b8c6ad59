// The failure sweep: the real gadget, with the fault injector loaded, made
// to meet a failure of each fallible call it makes: at the call's first use,
// in a burst while it runs, and at its close. Whatever fails, a careful
// program owes its user the same: no crash and no hang, exit code 0, nothing
// stored that was not so (the agreement, the place and the Run value are
// the old value or the right new one), no GDI object or DC left held, the
// face whole again within two ticks of a burst, and a start-up failure shown
// in its error box with nothing recorded. Also: the processor readings from
// planted answers (a build, a processor count, records and their counters).
#include "sweep.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <memory>

#include "face_reader.h"
#include "fault_control.h"
#include "button_record.h"
#include "main_window.h"
#include "settings.h"

namespace e2e {

namespace {

using faults::Call;
using zqtest::ReadDword;
using zqtest::ReadRaw;

// The control block of one injected gadget, made before the injector loads.
class FaultControl {
 public:
  explicit FaultControl(DWORD pid)
      : mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(faults::Control),
                                    faults::ControlName(pid).c_str())),
        block_(mapping_ ? static_cast<faults::Control*>(
                              MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(faults::Control)))
                        : nullptr) {
    if (!block_) throw std::runtime_error("no control block for the fault injector");
    block_->recordSize = sizeof(MainWndData);
    block_->buttonRecordSize = sizeof(bx::ButtonData);
  }
  ~FaultControl() { UnmapViewOfFile(block_); }
  FaultControl(const FaultControl&) = delete;
  FaultControl& operator=(const FaultControl&) = delete;

  faults::Control& block() { return *block_; }
  faults::CallControl& of(Call call) { return block_->call[static_cast<int>(call)]; }
  // Fails `count` calls from the call numbered `from` (1 is the first).
  void Arm(Call call, LONG from, LONG count) {
    of(call).failCount = count;
    InterlockedExchange(&of(call).failFrom, from);
  }
  // Fails the next `count` calls.
  void ArmNext(Call call, LONG count) { Arm(call, of(call).calls + 1, count); }

 private:
  win32::UniqueKernelHandle mapping_;
  faults::Control* block_;
};

// A gadget started with the injector, its control block and its window.
struct Injected {
  std::unique_ptr<FaultControl> control;
  std::unique_ptr<Program> program;
  HWND window = nullptr;
};

Injected StartInjected(const Scenario& s, const std::function<void(FaultControl&)>& arm = {}) {
  Injected g;
  g.program = std::make_unique<Program>(s.gadget, zqtest::Launch{.dll = s.helper, .prepare = [&](DWORD pid) {
    g.control = std::make_unique<FaultControl>(pid);
    if (arm) arm(*g.control);
  }});
  return g;
}

// The same on a profile that accepted the agreement before, the window
// brought to the front and the pointer moved off it.
Injected StartAcceptedInjected(Scenario& s, const std::function<void(FaultControl&)>& arm = {}) {
  Scenario::AcceptedBefore();
  Injected g = StartInjected(s, arm);
  g.window = s.AwaitGadget(*g.program);
  Scenario::PointAway(g.window);
  return g;
}

// The face on the screen is the painting of its chart's history.
// Whether the face shows whole within `ticks` ticks of the gadget's own,
// counted as changes of its chart, so that a machine under load is given the
// time its ticks take; 20 s at the most.
bool FaceShows(HWND window, int ticks) {
  std::optional<LoadHistory> chart;
  bool whole = false;
  WaitUntil([&] {
    const zqtest::Pixels face = ScreenPixels(WindowRect(window));
    if ((whole = FaceIsPainted(face))) return true;
    const std::optional<LoadHistory> now = ChartHistory(face);
    if (now && chart && *now != *chart) --ticks;
    if (now) chart = now;
    return ticks < 0;
  }, 20000);
  return whole;
}

// The place saved before something was made to fail.
struct SavedPlace {
  std::optional<DWORD> x;
  std::optional<DWORD> y;
  static SavedPlace Now() { return {ReadDword(settings::kPosX), ReadDword(settings::kPosY)}; }
};

// What the gadget stored is, value by value, what the profile held before or
// the right new value: the agreement as the profile had it (DWORD 1 where it
// was accepted), the Run value the quoted path of the program, and each
// coordinate the one saved before or that of where the window last was.
void CheckStored(Scenario& s, bool acceptedBefore, std::optional<POINT> place, const SavedPlace& before = {}) {
  const auto agreement = ReadRaw(settings::kKeyPath, settings::kUserAgreement);
  if (acceptedBefore)
    s.Check(ReadDword(settings::kUserAgreement) == 1u, L"the agreement stays accepted");
  else
    s.Check(!agreement.present, L"no acceptance is recorded");
  const auto run = ReadRaw(settings::kRunKeyPath, settings::kAutostartValue);
  s.Check(!run.present || s.IsOwnRunValue(run),
          L"the Run value is absent or the quoted path");
  const auto x = ReadDword(settings::kPosX);
  const auto y = ReadDword(settings::kPosY);
  const bool xRight = x == before.x || (place && x == static_cast<DWORD>(place->x));
  const bool yRight = y == before.y || (place && y == static_cast<DWORD>(place->y));
  s.Check(xRight && yRight, L"each coordinate saved is the one saved before or where the window was");
}

// The injector's count of held GDI objects and DCs is back to `count`.
bool HeldGdiIs(FaultControl& control, LONG count) {
  return WaitUntil([&] { return control.block().liveGdi == count; }, 5000);
}

enum class Phase { Start, Burst, Close };

// How a call comes to repeat while the gadget runs: with every tick, when the
// window moves, or with a click on the donation button; some never do.
enum class Repeats { Never, Ticks, Moves, Donation };

struct Row {
  Call call;
  const wchar_t* name;
  Repeats repeats;
  LONG firstFailing = 1;  // at the start, which call fails
  bool firstStart = false;  // the profile has not accepted the agreement
};

const Row kRows[] = {
    {Call::RegCreateKeyExW, L"RegCreateKeyExW (the agreement's key)", Repeats::Moves},
    {Call::RegCreateKeyExW, L"RegCreateKeyExW (the Run key)", Repeats::Never, 2},
    {Call::RegCreateKeyExW, L"RegCreateKeyExW (the place's key)", Repeats::Never, 3},
    {Call::RegQueryValueExW, L"RegQueryValueExW", Repeats::Never},
    {Call::RegSetValueExW, L"RegSetValueExW", Repeats::Moves},
    {Call::RegDeleteValueW, L"RegDeleteValueW", Repeats::Never},
    {Call::GetModuleFileNameW, L"GetModuleFileNameW", Repeats::Never},
    {Call::ModulePathCut, L"GetModuleFileNameW (the path cut short)", Repeats::Never},
    {Call::FindResourceW, L"FindResourceW", Repeats::Never},
    {Call::SizeofResource, L"SizeofResource", Repeats::Never},
    {Call::LoadResource, L"LoadResource", Repeats::Never},
    {Call::LockResource, L"LockResource", Repeats::Never},
    {Call::AddFontMemResourceEx, L"AddFontMemResourceEx", Repeats::Never},
    {Call::CoInitializeEx, L"CoInitializeEx", Repeats::Never},
    {Call::RegisterClassExW, L"RegisterClassExW (button class)", Repeats::Never},
    {Call::RegisterClassExW, L"RegisterClassExW (monitor class)", Repeats::Never, 2},
    {Call::CreateMainWindow, L"CreateWindowExW (monitor window)", Repeats::Never},
    {Call::CreateButton, L"CreateWindowExW (close button)", Repeats::Never},
    {Call::CreateButton, L"CreateWindowExW (donation button)", Repeats::Never, 2},
    {Call::SetTimer, L"SetTimer", Repeats::Moves},
    {Call::CreateCompatibleDC, L"CreateCompatibleDC", Repeats::Ticks},
    {Call::CreateCompatibleBitmap, L"CreateCompatibleBitmap", Repeats::Ticks},
    {Call::LoadBitmapW, L"LoadBitmapW", Repeats::Ticks},
    {Call::CreateFontIndirectW, L"CreateFontIndirectW", Repeats::Never},
    {Call::CreatePen, L"CreatePen", Repeats::Never},
    {Call::SelectObject, L"SelectObject", Repeats::Ticks},
    {Call::BeginPaint, L"BeginPaint", Repeats::Ticks},
    {Call::BitBlt, L"BitBlt", Repeats::Ticks},
    {Call::GetWindowRect, L"GetWindowRect", Repeats::Moves},
    {Call::NtdllHandle, L"GetModuleHandleW (ntdll.dll, the query's)", Repeats::Ticks},
    {Call::NtdllHandle, L"GetModuleHandleW (ntdll.dll, the build's)", Repeats::Never, 2},
    {Call::ProcAddress, L"GetProcAddress (NtQuerySystemInformation)", Repeats::Ticks},
    {Call::ProcAddress, L"GetProcAddress (RtlGetVersion)", Repeats::Never, 2},
    {Call::VersionQuery, L"RtlGetVersion", Repeats::Never},
    {Call::ProcessorQuery, L"NtQuerySystemInformation", Repeats::Ticks},
    {Call::GlobalMemoryStatusEx, L"GlobalMemoryStatusEx", Repeats::Ticks},
    {Call::ShellExecuteW, L"ShellExecuteW", Repeats::Donation},
    {Call::DialogBoxParamW, L"DialogBoxParamW", Repeats::Never, 1, true},
    {Call::NewRecord, L"new (the window's record)", Repeats::Never},
    {Call::NewButtonRecord, L"new (the close button's record)", Repeats::Never},
};

struct Outcome {
  std::wstring what;
  LONG calls = 0;
  LONG failed = 0;
};

// One row at the start: its call fails the first time (or the time the row
// names). The gadget then shows its error box, ends silently, or runs.
Outcome AtStart(Scenario& s, const Row& row) {
  if (row.firstStart) {
    Scenario::ForgetGadget();
  } else {
    Scenario::AcceptedBefore();
  }
  Injected g = StartInjected(s, [&](FaultControl& c) { c.Arm(row.call, row.firstFailing, 1); });
  HWND window = nullptr;
  HWND box = nullptr;
  HWND dialog = nullptr;
  const DWORD pid = g.program->id();
  const auto look = [&] {
    window = AwaitWindow(kMainWndTitle, 0, pid);
    box = AwaitWindow(kErrorCaption, 0, pid);
    dialog = AwaitWindow(kDialogTitle, 0, pid);
    return window || box || dialog || !g.program->Running();
  };
  WaitUntil(look, 30000);
  Outcome out;
  if (dialog && !row.firstStart) {
    // An agreement that cannot be read is asked for again.
    out.what = L"asks again, ";
    s.BringForward(dialog, L"the dialog");
    PressKeys({VK_RETURN});
    WaitUntil([&] { return look() && !dialog; }, 30000);
  }
  std::optional<POINT> place;
  if (box) {
    out.what += L"error box";
    s.Check(!ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present, L"no Run value is recorded");
    s.BringForward(box, L"the error box");
    PressKeys({VK_RETURN});
  } else if (window) {
    s.BringForward(window, L"the gadget's window");
    const RECT r = WindowRect(window);
    place = POINT{r.left, r.top};
    Scenario::PointAway(window);
    // The failure comes with the call's first use: some calls wait for the
    // first tick, the first save of the place or the first click.
    if (row.repeats == Repeats::Donation) ClickAt(At(r, kDonateButton));
    WaitUntil([&] { return g.control->of(row.call).failed > 0; }, row.repeats == Repeats::Never ? 1500 : 3000);
    Scenario::PointAway(window);
    const bool whole = FaceShows(window, 2);
    out.what += whole ? L"runs, face whole" : L"runs, face not whole";
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else {
    out.what += L"ends silently";
  }
  s.ExpectExit(*g.program, 0, std::wstring(row.name) + L": the process ends with 0");
  s.Check(HeldGdiIs(*g.control, 0), L"nothing GDI is held at the exit");
  CheckStored(s, !row.firstStart, place);
  out.calls = g.control->of(row.call).calls;
  out.failed = g.control->of(row.call).failed;
  return out;
}

// One row while the gadget runs: three calls in a row fail, brought about by
// what makes the call repeat; the face is whole again within two ticks.
Outcome InBurst(Scenario& s, const Row& row) {
  const Injected g = StartAcceptedInjected(s);
  const HWND window = g.window;
  RECT r = WindowRect(window);
  s.Require(FaceShows(window, 5), L"the face shows before the burst");
  WaitUntil([] { return ReadDword(settings::kPosY).has_value(); }, 5000);  // the first save
  const SavedPlace before = SavedPlace::Now();
  const LONG held = g.control->block().liveGdi;
  // Counted since the gadget came to the front: its first activation makes
  // objects of the system's own (the input method's window).
  const DWORD gdiObjects = GetGuiResources(g.program->handle(), GR_GDIOBJECTS);
  const DWORD userObjects = GetGuiResources(g.program->handle(), GR_USEROBJECTS);
  constexpr LONG kBurst = 3;
  g.control->ArmNext(row.call, kBurst);
  const auto burstDone = [&] { return g.control->of(row.call).failed >= kBurst; };
  for (int i = 0; i < 6 && !burstDone(); ++i) {
    r = WindowRect(window);
    if (row.repeats == Repeats::Ticks) {
      // The pointer over the close button: the button paints in the burst too.
      PointAt(At(r, kCloseButton));
      WaitUntil(burstDone, 1500);
    } else if (row.repeats == Repeats::Moves) {
      // The body pulled a little: each move saves the place half a second on.
      s.DragWindow(window, At(r, kChart), 10, 5, 1);
      WaitUntil(burstDone, 1500);
    } else if (row.repeats == Repeats::Donation) {
      ClickAt(At(r, kDonateButton));
      WaitUntil(burstDone, 1500);
    } else {
      WaitUntil(burstDone, 1500);
    }
  }
  s.Check(burstDone(), std::wstring(row.name) + L": the burst of failures happens");
  Scenario::PointAway(window);
  s.Check(g.program->Running(), L"the gadget keeps running through the burst");
  const bool whole = FaceShows(window, 2);
  s.Check(whole, L"the face is whole again within two ticks");
  s.Check(HeldGdiIs(*g.control, held), L"the GDI objects held are as many as before the burst");
  // Windows counts a process's GDI and USER objects itself (Wine answers 0).
  const auto guiObjectsAsBefore = [&] {
    return GetGuiResources(g.program->handle(), GR_GDIOBJECTS) == gdiObjects &&
           GetGuiResources(g.program->handle(), GR_USEROBJECTS) == userObjects;
  };
  s.Check(WaitUntil(guiObjectsAsBefore, 5000), L"the system counts as many GDI and USER objects as before (" +
                                                   std::to_wstring(gdiObjects) + L" and " +
                                                   std::to_wstring(userObjects) + L")");
  r = WindowRect(window);
  const POINT place{r.left, r.top};
  s.CloseAndExpectExit(*g.program, window);
  s.Check(HeldGdiIs(*g.control, 0), L"nothing GDI is held at the exit");
  CheckStored(s, true, place, before);
  return {whole ? L"recovers" : L"does not recover", g.control->of(row.call).calls, g.control->of(row.call).failed};
}

// One row at the close: every call from the click on the close button on
// fails.
Outcome AtClose(Scenario& s, const Row& row) {
  const Injected g = StartAcceptedInjected(s);
  const HWND window = g.window;
  const RECT r = WindowRect(window);
  s.Require(FaceShows(window, 5), L"the face shows before the close");
  WaitUntil([] { return ReadDword(settings::kPosY).has_value(); }, 5000);
  const SavedPlace before = SavedPlace::Now();
  g.control->ArmNext(row.call, 1000000);
  ClickAt(At(r, kCloseButton));
  s.ExpectExit(*g.program, 0, std::wstring(row.name) + L": the close button ends the process with 0");
  s.Check(HeldGdiIs(*g.control, 0), L"nothing GDI is held at the exit");
  CheckStored(s, true, POINT{r.left, r.top}, before);
  return {L"closes", g.control->of(row.call).calls, g.control->of(row.call).failed};
}

void Sweep(Scenario& s, Phase phase) {
  std::printf("%-44s %6s %6s  %s\n", "call", "calls", "failed", "outcome");
  for (const Row& row : kRows) {
    if (phase == Phase::Burst && row.repeats == Repeats::Never) continue;
    const int before = s.failures();
    const Outcome out = phase == Phase::Start   ? AtStart(s, row)
                        : phase == Phase::Burst ? InBurst(s, row)
                                                : AtClose(s, row);
    std::printf("%-44ls %6ld %6ld  %ls%s\n", row.name, out.calls, out.failed, out.what.c_str(),
                s.failures() > before ? "  FAILED" : "");
    std::fflush(stdout);
  }
}

// --- Planted processor answers ----------------------------------------------------

// The reading for planted query k: each processor's busy share of the
// interval since query k - 1, limited to 0..100 where the idle information
// gives the idle time, averaged over the records answered, rounded half up.
int PlantedReading(const faults::Plant& plant, std::int64_t k, bool idleInformation) {
  const std::uint32_t n = faults::PlantedRecords(plant);
  double sum = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const faults::PlantedDelta d = faults::PlantedDeltas(plant, k, i);
    const double idle = static_cast<double>(idleInformation ? d.idle : d.perfIdle);
    const double busy = 100.0 - 100.0 * idle / static_cast<double>(d.elapsed);
    sum += idleInformation ? std::clamp(busy, 0.0, 100.0) : busy;
  }
  return static_cast<int>(std::floor(sum / n + 0.5));
}

// With planted answers, the chart's newest readings are those of the
// arithmetic above for a run of consecutive queries.
void PlantedReadings(Scenario& s, const faults::Plant& plant) {
  const Injected g = StartAcceptedInjected(s, [&](FaultControl& c) { c.block().plant = plant; });
  const HWND window = g.window;
  const bool idleInformation = plant.build >= 22621 && plant.build < 26100;
  std::vector<int> want;  // want[k]: the reading after query k
  for (std::int64_t k = 0; k < 64; ++k)
    want.push_back(plant.performanceQueryFails || (plant.idleQueryFails && idleInformation)
                       ? 0
                       : PlantedReading(plant, k, idleInformation));
  // Four ticks shown, each matching the planted queries that made it; the
  // chart's first zeros do not count, so five ticks must have been taken.
  const auto ticks = [&] {
    return g.control->of(Call::ProcessorQuery).calls / (idleInformation ? 2 : 1);
  };
  std::wstring seen;
  const bool match = WaitUntil(
      [&] {
        if (ticks() < 5) return false;
        const auto history = ChartHistory(ScreenPixels(WindowRect(window)));
        if (!history) return false;
        seen.clear();
        for (int j = 0; j < 4; ++j) seen += std::to_wstring((*history)[static_cast<std::size_t>(j)].cpu) + L" ";
        for (std::size_t newest = 4; newest < want.size(); ++newest) {
          bool all = true;
          for (std::size_t j = 0; j < 4 && all; ++j) all = (*history)[j].cpu == want[newest - j];
          if (all) return true;
        }
        return false;
      },
      15000);
  s.Check(match, L"the chart shows the planted readings (newest first: " + seen + L")");
  s.CloseAndExpectExit(*g.program, window);
}

}  // namespace

void AddSweepScenarios(std::vector<ScenarioEntry>& table) {
  table.push_back({L"sweep-start", [](Scenario& s) { Sweep(s, Phase::Start); }, 570});
  table.push_back({L"sweep-burst", [](Scenario& s) { Sweep(s, Phase::Burst); }, 570});
  table.push_back({L"sweep-close", [](Scenario& s) { Sweep(s, Phase::Close); }, 570});
  // 22631: Windows 11 23H2, in the range whose idle times come from class 42.
  static const std::pair<const wchar_t*, faults::Plant> planted[] = {
      {L"idle-windows-11", {.build = 22631}},
      {L"idle-older-build", {.build = 19045}},
      {L"idle-query-fails", {.build = 22631, .idleQueryFails = 1}},
      {L"idle-performance-query-fails", {.build = 22631, .performanceQueryFails = 1}},
      // Idle time ahead of the elapsed time: a core seen at 31 ms elapsed and
      // 259 ms idle beside three others; one at twice its elapsed time.
      {L"idle-out-of-step",
       {.build = 22631,
        .processors = 4,
        .cores = {{312500, 2589349}, {10000000, 2500000}, {10000000, 5000000}, {10000000, 9000000}}}},
      {L"idle-twice-elapsed", {.build = 22631, .processors = 2, .cores = {{1000000, 2000000}, {1000000, 0}}}},
      // Under WOW64 a 32-bit process is told of 32 processors at most.
      {L"idle-48-records", {.build = 22631, .processors = 32, .records = 48}},
      {L"idle-64-records", {.build = 22631, .processors = 32, .records = 64}},
      {L"idle-32-records", {.build = 22631, .processors = 32, .records = 32}},
  };
  for (const auto& [name, plant] : planted)
    table.push_back({name, [&plant = plant](Scenario& s) { PlantedReadings(s, plant); }});
}

}  // namespace e2e
