// The gadget's end-to-end scenarios, one function each, as a person would
// go through them: the first start and its agreement, the gates that ask
// again, autostart, the two buttons, Alt+F4, dragging and the saved place,
// two copies, the builds without the typeface or the dialog, and the
// readings against the system's own counters.
#include "scenarios.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "face_reader.h"
#include "load_math.h"
#include "main_window.h"
#include "placement.h"
#include "resource.h"
#include "settings.h"
#include "sweep.h"

namespace e2e {

namespace {

using zqtest::ReadDword;
using zqtest::ReadRaw;

bool Accepted() { return ReadDword(settings::kUserAgreement) == 1u; }
bool NoAcceptance() { return !ReadRaw(settings::kKeyPath, settings::kUserAgreement).present; }
bool KeyExists() { return static_cast<bool>(zqtest::OpenUserKey(settings::kKeyPath, KEY_READ)); }
bool NoGadgetWindow() { return WindowsTitled(kMainWndTitle).empty(); }
zqtest::RawValue RunValue() { return ReadRaw(settings::kRunKeyPath, settings::kAutostartValue); }
POINT Centre(HWND window) {
  const RECT r = WindowRect(window);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// --- The first start and the agreement --------------------------------------

enum class Answer { Escape, Enter, CloseBox, CloseButton, AcceptButton };

void FirstStart(Scenario& s, Answer answer) {
  Scenario::ForgetGadget();
  const Program gadget(s.gadget);
  const HWND dialog = s.BringForward(
      s.Require(AwaitWindow(kDialogTitle, 30000, gadget.id()), L"the agreement dialog appears"), L"the dialog");
  s.Check(KeyExists(), L"the settings key exists while the dialog shows");
  s.Check(NoAcceptance(), L"no acceptance is recorded yet");
  s.Check(NoGadgetWindow(), L"no gadget window shows while it asks");

  switch (answer) {
    case Answer::Escape:
    case Answer::Enter:
      PressKeys({static_cast<WORD>(answer == Answer::Escape ? VK_ESCAPE : VK_RETURN)});
      break;
    case Answer::CloseBox:
      ClickAt(*s.Require(FindHit(dialog, HTCLOSE), L"the dialog's caption has a close box"));
      break;
    case Answer::CloseButton:
    case Answer::AcceptButton:
      ClickAt(Centre(GetDlgItem(dialog, answer == Answer::CloseButton ? IDC_DECLINE : IDC_ACCEPT)));
      break;
  }

  if (answer == Answer::Enter || answer == Answer::AcceptButton) {
    const HWND window = s.AwaitGadget(gadget);
    s.Check(WaitUntil(Accepted, 10000), L"the acceptance is REG_DWORD 1");
    s.Check(gadget.Running(), L"the gadget keeps running");
    s.CloseAndExpectExit(gadget, window);
    return;
  }
  s.Check(WaitUntil([&] { return WindowsTitled(kDialogTitle).empty(); }, 20000), L"the dialog goes");
  s.ExpectExit(gadget, 0, L"declining ends the process with 0");
  s.Check(NoAcceptance(), L"no acceptance is recorded");
  s.Check(KeyExists(), L"the key stays");
  s.Check(NoGadgetWindow(), L"no gadget window showed");
}

// A stored UserAgreement of another type or value: DWORD 0 and REG_SZ "1" ask
// again; any other DWORD lets the gadget start at once.
void SeededAgreement(Scenario& s, DWORD type, const std::vector<BYTE>& data) {
  Scenario::ForgetGadget();
  zqtest::SeedValue(settings::kUserAgreement, type, data.data(), static_cast<DWORD>(data.size()));
  DWORD dword = 0;
  if (data.size() == sizeof dword) std::memcpy(&dword, data.data(), sizeof dword);
  const Program gadget(s.gadget);
  if (type == REG_DWORD && dword != 0) {
    const HWND window = s.AwaitGadget(gadget);
    s.Check(WindowsTitled(kDialogTitle).empty(), L"no dialog showed");
    s.Check(WaitUntil(Accepted, 10000), L"the value now reads DWORD 1");
    s.CloseAndExpectExit(gadget, window);
    return;
  }
  const HWND dialog = s.Require(AwaitWindow(kDialogTitle, 30000, gadget.id()), L"the dialog asks again");
  const zqtest::RawValue asking = ReadRaw(settings::kKeyPath, settings::kUserAgreement);
  s.Check(asking.type == type && asking.data == data, L"the value is untouched while asking");
  s.BringForward(dialog, L"the dialog");
  PressKeys({VK_RETURN});
  const HWND window = s.AwaitGadget(gadget);
  s.Check(WaitUntil(Accepted, 10000), L"the value now reads DWORD 1");
  s.CloseAndExpectExit(gadget, window);
}

// --- The running gadget -------------------------------------------------------

void Autostart(Scenario& s) {
  const auto [gadget, window] = s.StartAccepted();
  const zqtest::RawValue run = RunValue();
  s.Check(s.IsOwnRunValue(run),
          L"the Run value holds the quoted path \"" + s.gadget + L"\" (holds " + run.AsString().c_str() + L")");
  s.CloseAndExpectExit(gadget, window);
  s.Check(RunValue().present, L"a plain close leaves the Run value");
}

// The close button's tile at `state` (0 normal, 1 hover) shows on the screen.
bool CloseTileShows(HWND window, int state) {
  static const zqtest::Pixels strip = zqtest::BitmapResourcePixels(IDB_CLOSE);
  const POINT middle = At(WindowRect(window), kCloseButton);
  const zqtest::Pixels shown = ScreenPixels({middle.x - 17, middle.y - 17, middle.x + 18, middle.y + 18});
  for (int y = 0; y < 35; ++y)
    for (int x = 0; x < 35; ++x)
      if (shown.At(x, y) != strip.At(x, 35 * state + y)) return false;
  return true;
}

void CloseButton(Scenario& s) {
  const auto [gadget, window] = s.StartAccepted();
  s.Check(WaitUntil([] { return ReadDword(settings::kPosY).has_value(); }, 10000),
          L"the position is saved after the start");
  const auto posX = ReadDword(settings::kPosX);
  const auto posY = ReadDword(settings::kPosY);
  const RECT r = WindowRect(window);
  // Hover: the dark tile shows under the pointer and goes when it leaves.
  PointAt(At(r, kCloseButton));
  PointAt(At(r, kCloseButton, 1));
  s.Check(WaitUntil([&] { return CloseTileShows(window, 1); }, 10000), L"hovering shows the close button's hover tile");
  PointAt(At(r, kLowChart));
  s.Check(WaitUntil([&] { return CloseTileShows(window, 0); }, 10000), L"the tile goes when the pointer leaves");
  ClickAt(At(r, kCloseButton));
  s.ExpectExit(gadget, 0, L"a click on close ends the process with 0");
  s.Check(!RunValue().present, L"the Run value is removed");
  s.Check(ReadDword(settings::kPosX) == posX && ReadDword(settings::kPosY) == posY, L"the saved position stays");
}

void AltF4(Scenario& s) {
  const auto [gadget, window] = s.StartAccepted();
  PointAt(At(WindowRect(window), kLowChart));
  s.Require(Activate(window), L"the gadget takes the keyboard");
  PressKeys({VK_MENU, VK_F4});
  s.ExpectExit(gadget, 0, L"Alt+F4 ends the process with 0");
  s.Check(RunValue().present, L"the Run value stays");
}

constexpr wchar_t kDonationPage[] = L"http://www.quorvane.example/donate.php";

std::wstring UrlHandlerChoice() {
  const auto choice = ReadRaw(L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
                              L"ProgId");
  return choice.present ? choice.AsString().c_str() : L"";
}

int Lines(const std::wstring& file, std::string* text = nullptr) {
  std::ifstream in(file.c_str(), std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  if (text) *text = all.str();
  const std::string s = all.str();
  return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

void Donate(Scenario& s) {
  // A user's choice of browser outranks any handler a test can plant.
  // (Wine's choice is the class "http" itself, where the handler is planted.)
  if (const std::wstring choice = UrlHandlerChoice(); !choice.empty() && _wcsicmp(choice.c_str(), L"http") != 0) {
    std::printf("skipped: http links open with the user's choice %ls\n", choice.c_str());
    throw kSkipped;
  }
  // Wine looks up http handlers among the machine's classes only.
  RegSetKeyValueW(OnWine() ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, L"Software\\Classes\\http\\shell\\open\\command", nullptr, REG_SZ,
                  (L"\"" + s.helper + L"\" \"%1\"").c_str(),
                  static_cast<DWORD>((s.helper.size() + 8) * sizeof(wchar_t)));
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring log = std::wstring(temp) + L"zq-e2e-urls-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  DeleteFileW(log.c_str());
  SetEnvironmentVariableW(L"ZQ_URL_LOG", log.c_str());  // the recorder writes there

  const auto [gadget, window] = s.StartAccepted();
  const RECT r = WindowRect(window);
  ClickAt(At(r, kDonateButton));
  s.Check(WaitUntil([&] { return Lines(log) >= 1; }, 20000), L"the handler receives the donation page");
  ClickAt(At(r, kDonateButton, 1));
  s.Check(WaitUntil([&] { return Lines(log) >= 2; }, 20000), L"a second click opens it again");
  std::string text;
  Lines(log, &text);
  const std::string page = "http://www.quorvane.example/donate.php";
  s.Check(text == page + "\n" + page + "\n", L"exactly the donation URL, twice");
  s.Check(gadget.Running(), L"the gadget keeps running");
  s.CloseAndExpectExit(gadget, window);
  DeleteFileW(log.c_str());
}

void TwoCopies(Scenario& s) {
  const auto [first, firstWindow] = s.StartAccepted();
  const Program second(s.gadget);
  const HWND secondWindow = s.AwaitGadget(second);
  s.Check(WindowsTitled(kMainWndTitle).size() == 2, L"a second copy runs its own window");
  s.Check(first.Running(), L"both copies keep running");
  s.CloseAndExpectExit(second, secondWindow);
  s.CloseAndExpectExit(first, firstWindow);
}

void WithoutFont(Scenario& s) {
  const auto [gadget, window] = s.StartAccepted();
  s.Check(gadget.Running(), L"the gadget runs without its typeface");
  s.CloseAndExpectExit(gadget, window);
}

void WithoutDialog(Scenario& s) {
  // The dialog template is missing: the start-up says so and records nothing.
  Scenario::ForgetGadget();
  const Program gadget(s.gadget);
  const HWND box = AwaitWindow(kErrorCaption, 30000, gadget.id());
  s.Check(box != nullptr, L"an error message shows");
  s.Check(NoAcceptance(), L"no acceptance is recorded");
  if (box) {
    s.BringForward(box, L"the message");
    PressKeys({VK_RETURN});
  }
  s.ExpectExit(gadget, 0, L"the process ends with 0");
  s.Check(NoAcceptance(), L"still no acceptance");
  s.Check(NoGadgetWindow(), L"no gadget window showed");
}

// --- Dragging ---------------------------------------------------------------

bool SavedAt(POINT p) {
  return ReadDword(settings::kPosX) == static_cast<DWORD>(p.x) && ReadDword(settings::kPosY) == static_cast<DWORD>(p.y);
}

void Drag(Scenario& s) {
  const auto [gadget, window] = s.StartAccepted();
  const RECT r = WindowRect(window);
  s.Require(r.right - r.left == kMainWndWidth && r.bottom - r.top == kMainWndHeight, L"the window is 349 x 366");
  const POINT p0{r.left, r.top};
  s.Require(WaitUntil([&] { return SavedAt(p0); }, 20000), L"showing and placing the window saves " + PointText(p0));

  // Drag 1: grab the chart area and pull up and left in five steps.
  s.DragWindow(window, Offset(p0, kChart.x, kChart.y), -200, -150, 5);
  const POINT p1 = Offset(p0, -200, -150);
  s.Require(WaitUntil([&] { return WindowAt(window, p1); }, 10000), L"after the drag the window is at " + PointText(p1));
  s.Check(WaitUntil([&] { return SavedAt(p1); }, 20000), L"the new place is saved");

  // Drag 2: from the bottom-left corner of the body.
  s.DragWindow(window, Offset(p1, 3, 362), 100, 50, 2);
  const POINT p2 = Offset(p1, 100, 50);
  s.Require(WaitUntil([&] { return WindowAt(window, p2); }, 10000), L"a drag by the corner moves it to " + PointText(p2));
  s.Check(WaitUntil([&] { return SavedAt(p2); }, 20000), L"that place is saved");

  // Drag 3, with Alt+F4 right behind the release: the close comes well within
  // half a second of the move, so the saved place stays that of drag 2.
  s.DragWindow(window, Offset(p2, kChart.x, kChart.y), 100, 50, 1);
  PressKeys({VK_MENU, VK_F4});
  s.ExpectExit(gadget, 0, L"Alt+F4 right after a drag ends the process with 0");
  s.Check(SavedAt(p2), L"a close right after a move keeps the place saved before it");
}

// --- Readings -----------------------------------------------------------------

// One look at the gadget: its face, and the system's own counters then.
struct Look {
  ULONGLONG at = 0;
  std::optional<LoadHistory> history;
  zqtest::Pixels face;
  ULONGLONG busy = 0;  // kernel + user - idle, over all processors, in 100 ns
  ULONGLONG total = 0;
  DWORD memoryLoad = 0;
};

ULONGLONG Ticks(FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// The idle time of all processors from the idle information, on the
// Windows 11 builds whose system times keep it out of step (the gadget reads
// it there too); nothing elsewhere.
std::optional<ULONGLONG> IdleInformation() {
  using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  // The build, asked once: the driver looks every few milliseconds.
  static const bool needed = [ntdll] {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    const auto getVersion = reinterpret_cast<LONG(WINAPI*)(OSVERSIONINFOW*)>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    return getVersion && getVersion(&version) == 0 && IdleFromIdleInformation(version.dwBuildNumber);
  }();
  if (!needed) return {};
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
  static CpuIdleSnapshot records;
  ULONG length = 0;
  if (!query || query(42, &records, sizeof records, &length) != 0) return {};
  ULONGLONG sum = 0;
  for (std::size_t i = 0; i < length / sizeof(CpuIdleTimes) && i < kMaxProcessors; ++i) sum += records.cpu[i].idle;
  return sum;
}

Look LookAt(HWND window) {
  Look look;
  look.face = ScreenPixels(WindowRect(window));
  look.at = GetTickCount64();
  FILETIME idle{}, kernel{}, user{};
  GetSystemTimes(&idle, &kernel, &user);
  look.total = Ticks(kernel) + Ticks(user);  // kernel time includes idle time
  look.busy = look.total - std::min(IdleInformation().value_or(Ticks(idle)), look.total);
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatusEx(&memory);
  look.memoryLoad = memory.dwMemoryLoad;
  look.history = ChartHistory(look.face);
  return look;
}

// The processor load in per cent for `busy` of `total` processor time.
double LoadPercent(ULONGLONG busy, ULONGLONG total) {
  return total ? 100.0 * static_cast<double>(busy) / static_cast<double>(total) : 100.0;
}

void Readings(Scenario& s) {
  const auto [gadget, window] = s.StartAccepted();
  // A window over the gadget, as a console it opened behind would be.
  const Cover cover(WindowRect(window));
  s.Check(CoveredBy(window) && GetForegroundWindow() == cover.window(), L"a window in front covers the gadget");
  s.BringForward(window, L"the gadget's window");
  Scenario::PointAway(window);

  // Looks every few milliseconds for 12 s; a new sample shows as a change of
  // the chart, which happened between the look before and the look with it.
  std::vector<Look> looks;
  std::vector<std::size_t> changes;  // indices of the first look of each new chart
  int faceMatches = 0;
  int worstFace = -1;
  zqtest::Pixels worstSeen, worstWanted;
  const ULONGLONG end = GetTickCount64() + 12000;
  while (GetTickCount64() < end) {
    Look look = LookAt(window);
    if (look.history && (looks.empty() || looks.back().history != look.history)) {
      if (!looks.empty()) changes.push_back(looks.size());
      const zqtest::Pixels wanted = zqtest::ComposedFace(*look.history, zqtest::Drawn::kPainted);
      const int differ = DifferingPixels(look.face, wanted);
      if (differ == 0) {
        ++faceMatches;
      } else if (differ > worstFace) {
        worstFace = differ;
        worstSeen = look.face;
        worstWanted = wanted;
      }
    }
    looks.push_back(std::move(look));
    Sleep(5);
  }
  const bool faceShown = s.Check(faceMatches >= 1, L"the face on the screen is the painting of the history its chart shows (" +
                                std::to_wstring(faceMatches) + L" exact, worst " + std::to_wstring(worstFace) +
                                L" pixels apart)");
  if (!faceShown) {
    SaveBitmap(worstSeen, s.name + L"-seen.bmp");
    SaveBitmap(worstWanted, s.name + L"-painted.bmp");
  }

  // Each sample spans the second between two ticks: it lies between the
  // load over the shortest and over the longest span those looks allow.
  int checked = 0;
  for (std::size_t k = 1; k < changes.size(); ++k) {
    const std::size_t b0 = changes[k - 1], b1 = changes[k];
    if (b0 < 2 || b1 < 2) continue;
    const Look& seen = looks[b1];
    const ULONGLONG span = seen.at - looks[b0].at;
    if (span < 800 || span > 1200) continue;  // a tick whose chart did not change lies between
    // The ticks lie within two looks before the first look that shows them
    // (the paint follows the tick), so the inner span lies within the
    // sample's second and the outer span holds it.
    const Look& outerFrom = looks[b0 - 2];
    const Look& innerFrom = looks[b0];
    const Look& innerTo = looks[b1 - 2];
    const double low = LoadPercent(innerTo.busy - innerFrom.busy, seen.total - outerFrom.total);
    const double high = LoadPercent(seen.busy - outerFrom.busy, innerTo.total - innerFrom.total);
    const int cpu = (*seen.history)[0].cpu;
    const int mem = (*seen.history)[0].mem;
    ++checked;
    s.Check(cpu >= std::floor(low) - 2 && cpu <= std::ceil(high) + 2,
            L"processor " + std::to_wstring(cpu) + L" % lies within the system's " + std::to_wstring(low) + L" to " +
                std::to_wstring(high) + L" % over the same second");
    // The memory in use moves with every other program: the tick's figure
    // lies among the system's in the looks around it.
    const auto [fewest, most] = std::minmax({innerTo.memoryLoad, looks[b1 - 1].memoryLoad, seen.memoryLoad});
    s.Check(mem + 2 >= static_cast<int>(fewest) && mem <= static_cast<int>(most) + 2,
            L"memory " + std::to_wstring(mem) + L" % lies within the system's " + std::to_wstring(fewest) + L" to " +
                std::to_wstring(most) + L" % around the tick");
  }
  if (checked == 0) {
    // The chart never changed: every sample had the same figures, which the
    // system's counters over the whole time must then show too.
    const Look& first = looks.front();
    const Look& last = looks.back();
    s.Require(first.history.has_value(), L"the chart can be read");
    const int cpu = (*last.history)[0].cpu;
    const double load = LoadPercent(last.busy - first.busy, last.total - first.total);
    s.Check(std::abs(cpu - load) <= 2.5, L"the steady processor reading " + std::to_wstring(cpu) +
                                             L" % is the system's " + std::to_wstring(load) + L" %");
    s.Check(std::abs((*last.history)[0].mem - static_cast<int>(last.memoryLoad)) <= 2,
            L"the steady memory reading is the system's");
  }
  std::printf("readings checked over %d ticks, %zu looks\n", checked, looks.size());
  s.CloseAndExpectExit(gadget, window);
}

}  // namespace

// --- The scenarios by name ----------------------------------------------------

const std::vector<ScenarioEntry>& Scenarios() {
  auto dword = [](DWORD v) {
    std::vector<BYTE> data(sizeof v);
    std::memcpy(data.data(), &v, sizeof v);
    return data;
  };
  static const std::vector<ScenarioEntry> table = [&] {
    std::vector<ScenarioEntry> all = {
      {L"first-start-escape", [](Scenario& s) { FirstStart(s, Answer::Escape); }},
      {L"first-start-close-button", [](Scenario& s) { FirstStart(s, Answer::CloseButton); }},
      {L"first-start-close-box", [](Scenario& s) { FirstStart(s, Answer::CloseBox); }},
      {L"first-start-enter", [](Scenario& s) { FirstStart(s, Answer::Enter); }},
      {L"first-start-accept-button", [](Scenario& s) { FirstStart(s, Answer::AcceptButton); }},
      {L"agreement-sz-one",
       [](Scenario& s) { SeededAgreement(s, REG_SZ, {BYTE{'1'}, BYTE{0}, BYTE{0}, BYTE{0}}); }},
      {L"agreement-dword-zero", [dword](Scenario& s) { SeededAgreement(s, REG_DWORD, dword(0)); }},
      {L"agreement-dword-five", [dword](Scenario& s) { SeededAgreement(s, REG_DWORD, dword(5)); }},
      {L"agreement-dword-all-ones", [dword](Scenario& s) { SeededAgreement(s, REG_DWORD, dword(0xFFFFFFFF)); }},
      {L"autostart", Autostart},
      {L"close-button", CloseButton},
      {L"alt-f4", AltF4},
      {L"donate", Donate},
      {L"two-copies", TwoCopies},
      {L"without-font", WithoutFont},
      {L"without-dialog", WithoutDialog},
      {L"drag", Drag},
      {L"readings", Readings},
    };
    AddSweepScenarios(all);
    return all;
  }();
  return table;
}

}  // namespace e2e
