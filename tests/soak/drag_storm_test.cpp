// A storm of position changes of the real monitor window gives one save of
// the last place, half a second after the last change. The gadget's key is
// watched from a thread of its own with RegNotifyChangeKeyValue, so every
// write is timed as it lands while the window's thread keeps pumping its
// messages (and so its timers) throughout the storm.
#include <gtest/gtest.h>
#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "embedded_font.h"
#include "main_window.h"
#include "settings.h"
#include "support/zqtest.h"
#include "wbuttonex.h"

namespace {

using zqtest::PumpFor;
using zqtest::PumpUntil;
using zqtest::ReadDword;

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// One change of the key as the watcher saw it: when, and both values then.
struct Write {
  double at;
  std::optional<DWORD> x, y;
};

class KeyWatcher {
 public:
  KeyWatcher() : key_(CreateUserKey(settings::kKeyPath, KEY_NOTIFY | KEY_READ)) {
    changed_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Arm();  // before the first write can happen
    thread_ = std::thread([this] { Run(); });
  }
  ~KeyWatcher() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
    CloseHandle(changed_);
  }
  KeyWatcher(const KeyWatcher&) = delete;
  KeyWatcher& operator=(const KeyWatcher&) = delete;

  bool ok() const { return key_ && armed_; }
  std::vector<Write> Writes() {
    const std::lock_guard lock(mutex_);
    return writes_;
  }
  void Forget() {
    const std::lock_guard lock(mutex_);
    writes_.clear();
  }

 private:
  void Arm() {
    armed_ = RegNotifyChangeKeyValue(key_.get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed_, TRUE) == ERROR_SUCCESS;
  }
  void Run() {
    const HANDLE handles[] = {stop_, changed_};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
      const double at = NowMs();
      Arm();  // first, so that a write landing while the values are read is seen too
      Write w{at, ReadDword(settings::kPosX), ReadDword(settings::kPosY)};
      const std::lock_guard lock(mutex_);
      writes_.push_back(w);
    }
  }

  win32::UniqueRegKey key_;
  HANDLE changed_ = nullptr;
  HANDLE stop_ = nullptr;
  bool armed_ = false;
  std::mutex mutex_;
  std::vector<Write> writes_;
  std::thread thread_;
};

std::string Describe(const std::vector<Write>& writes, double origin) {
  std::string s;
  for (const Write& w : writes) {
    s += "  +" + std::to_string(static_cast<long>(w.at - origin)) + " ms: PosX " +
         (w.x ? std::to_string(static_cast<LONG>(*w.x)) : "-") + ", PosY " +
         (w.y ? std::to_string(static_cast<LONG>(*w.y)) : "-") + "\n";
  }
  return s;
}

TEST(DragStorm, AThousandMovesGiveOneSaveHalfASecondAfterTheLast) {
  const EmbeddedFont typeface;
  ASSERT_NE(RegisterButtonClass(), 0u);
  ASSERT_NE(RegisterMainWndClass(), 0u);
  zqtest::DeleteSettings();
  KeyWatcher watcher;
  ASSERT_TRUE(watcher.ok());

  const HWND hwnd = CreateMainWnd();
  ASSERT_TRUE(hwnd);
  // Showing and placing the window saves its place about half a second later.
  RECT start{};
  GetWindowRect(hwnd, &start);
  ASSERT_TRUE(PumpUntil(
      [&] {
        const auto writes = watcher.Writes();
        return !writes.empty() && writes.back().y == static_cast<DWORD>(start.top);
      },
      5000))
      << "no start-up save";
  PumpFor(100);  // the start-up pair lands whole before the storm
  watcher.Forget();

  // 1,000 different places, 1.5 ms apart at the least: the storm lasts well
  // over the 500 ms that a countdown not restarted by each move would take.
  constexpr int kMoves = 1000;
  const double stormStart = NowMs();
  double lastCall = 0;
  int x = 0, y = 0;
  for (int i = 0; i < kMoves; ++i) {
    x = 100 + (i * 37) % 400;
    y = 80 + (i * 11) % 200;
    // Messages, the window's timers among them, are dispatched throughout.
    do {
      PumpFor(0);
    } while (NowMs() < stormStart + 1.5 * i && MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT) != WAIT_FAILED);
    lastCall = NowMs();
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const double stormEnd = NowMs();
  RECT last{};
  GetWindowRect(hwnd, &last);
  ASSERT_EQ(last.left, x);
  ASSERT_EQ(last.top, y);

  // Wait for the pair, then a further second in which nothing else comes.
  ASSERT_TRUE(PumpUntil(
      [&] {
        const auto writes = watcher.Writes();
        return !writes.empty() && writes.back().y == static_cast<DWORD>(y);
      },
      5000))
      << "no save after the storm\n"
      << Describe(watcher.Writes(), stormStart);
  PumpFor(1000);
  const std::vector<Write> writes = watcher.Writes();
  const std::string log = Describe(writes, stormStart);

  // Nothing during the storm; then one burst: PosX, then PosY, at once.
  ASSERT_FALSE(writes.empty());
  EXPECT_GE(writes.front().at, stormEnd) << log;
  EXPECT_LE(writes.size(), 2u) << "more than the PosX/PosY pair\n" << log;
  EXPECT_LT(writes.back().at - writes.front().at, 50.0) << log;
  for (const Write& w : writes)
    EXPECT_FALSE(w.y == static_cast<DWORD>(y) && w.x != static_cast<DWORD>(x)) << "PosY before PosX\n" << log;
  EXPECT_EQ(writes.back().x, static_cast<DWORD>(x));
  EXPECT_EQ(writes.back().y, static_cast<DWORD>(y));

  // Half a second after the last change: measured from the start of the
  // last SetWindowPos, before which its countdown cannot have begun. Windows
  // may fire a timer up to one system tick early by the performance counter.
  constexpr double kSystemTickMs = 15.625;
  const double delay = writes.front().at - lastCall;
  EXPECT_GE(delay, 500.0 - kSystemTickMs) << log;
  EXPECT_LT(delay, 1000.0) << log;
  std::printf("drag storm: %d moves over %.0f ms; one save %.1f ms after the last move began\n%s", kMoves,
              stormEnd - stormStart, delay, log.c_str());
  DestroyWindow(hwnd);
  PumpFor(0);
}

}  // namespace
