// The real monitor window under Wine: its attributes, its record and the
// record's lifetime, the hit test that lets it be dragged, the sampling
// tick, the painting, and the debounced position save.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "embedded_font.h"
#include "main_window.h"
#include "painting.h"
#include "placement.h"
#include "settings.h"
#include "support/zqtest.h"

namespace {

using zqtest::PumpFor;
using zqtest::PumpUntil;
using zqtest::ReadDword;

const EmbeddedFont g_typeface;

class MainWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static const DWORD atom = RegisterMainWndClass();
    ASSERT_NE(atom, 0u);
  }

  void SetUp() override { zqtest::DeleteSettings(); }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpFor(0);
  }

  HWND Create() {
    hwnd_ = CreateMainWnd();
    return hwnd_;
  }

  HWND hwnd_ = nullptr;
};

// The shell's Progman window; where the desktop has none (Wine's), one stood
// up as a shell would, held by `standIn`, so an owner is never null by chance.
HWND Progman(zqtest::UniqueWindow& standIn) {
  if (const HWND shell = FindWindowW(L"Progman", nullptr)) return shell;
  standIn.reset(zqtest::CreatePlainWindow({.className = L"Progman", .width = 10, .height = 10, .style = WS_POPUP}));
  return standIn.get();
}

TEST_F(MainWindow, HasTheTitleSizeAndStylesOfAToolWindow) {
  zqtest::UniqueWindow standIn;
  const HWND progman = Progman(standIn);
  ASSERT_TRUE(progman);
  const HWND hwnd = Create();
  ASSERT_TRUE(hwnd);
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  EXPECT_STREQ(text, L"QUORVANE Zelvaquint");
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  EXPECT_STREQ(cls, L"QVZLMainWndClass");

  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(rect.right - rect.left, 349);
  EXPECT_EQ(rect.bottom - rect.top, 366);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 349);
  EXPECT_EQ(client.bottom, 366);

  // The system adds WS_CLIPSIBLINGS to every top-level window.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & ~static_cast<DWORD>(WS_CLIPSIBLINGS),
            static_cast<DWORD>(WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(hwnd, GW_OWNER), progman);
  DestroyWindow(hwnd);
}

TEST_F(MainWindow, IsOwnedByTheDesktopsProgmanWindow) {
  zqtest::UniqueWindow standIn;
  const HWND progman = Progman(standIn);
  ASSERT_TRUE(progman);
  ASSERT_TRUE(Create());
  EXPECT_EQ(GetWindow(hwnd_, GW_OWNER), progman);
  DestroyWindow(hwnd_);
}

TEST_F(MainWindow, RecordHoldsTheFontsAndPensAndAZeroHistory) {
  ASSERT_TRUE(Create());
  const MainWndData* data = MainWndRecord(hwnd_);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->hwnd, hwnd_);
  for (const LoadSample& s : data->history) {
    EXPECT_EQ(s.cpu, 0);
    EXPECT_EQ(s.mem, 0);
  }

  const std::pair<HFONT, LONG> fonts[] = {{data->hSmallFont, 18}, {data->hLargeFont, 26}};
  for (const auto& [font, height] : fonts) {
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfHeight, height);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfItalic | lf.lfUnderline | lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS);
    EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS);
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(lf.lfPitchAndFamily, 0x20);
    EXPECT_STREQ(lf.lfFaceName, L"Bebas Neue Regular");

    // The private typeface is what the font really gets.
    EXPECT_EQ(zqtest::RealFaceOf(font), L"Bebas Neue Regular");
  }

  const std::pair<HPEN, COLORREF> pens[] = {{data->hCpuPen, 0x00CEC23E}, {data->hMemPen, 0x0071C888}};
  for (const auto& [pen, colour] : pens) {
    LOGPEN lp{};
    ASSERT_EQ(GetObjectW(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_SOLID));
    EXPECT_EQ(lp.lopnWidth.x, 1);
    EXPECT_EQ(lp.lopnColor, colour);
  }
}

TEST_F(MainWindow, ClosingDestroysTheWindowFreesTheRecordAndQuits) {
  ASSERT_TRUE(Create());
  const MainWndData* data = MainWndRecord(hwnd_);
  ASSERT_TRUE(data);
  const HGDIOBJ objects[] = {data->hSmallFont, data->hLargeFont, data->hCpuPen, data->hMemPen};

  EXPECT_EQ(SendMessageW(hwnd_, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(hwnd_));
  for (const HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u);
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(MainWindow, TheBodyHitsAsCaptionAndOutsideStaysNowhere) {
  ASSERT_TRUE(Create());
  RECT rect{};
  GetWindowRect(hwnd_, &rect);
  const auto hit = [&](int x, int y) {
    return SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(x, y));
  };
  EXPECT_EQ(hit(rect.left + 100, rect.top + 200), HTCAPTION);
  EXPECT_EQ(hit(rect.left, rect.top), HTCAPTION);
  EXPECT_EQ(hit(rect.right - 1, rect.bottom - 1), HTCAPTION);
  EXPECT_EQ(hit(rect.right + 5, rect.top + 5), HTNOWHERE);
}

TEST_F(MainWindow, WritesTheAutostartEntryAndSamplesEverySecond) {
  zqtest::DeleteValue(settings::kRunKeyPath, settings::kAutostartValue);
  ASSERT_TRUE(Create());
  ASSERT_TRUE(zqtest::ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present);

  // Memory is never 0 % in use, so each tick shows as a non-zero sample.
  MainWndData* data = MainWndRecord(hwnd_);
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return data->history[0].mem != 0; }, 5000));
  EXPECT_GE(GetTickCount64() - start, 800u);
  ASSERT_TRUE(PumpUntil([&] { return data->history[1].mem != 0; }, 5000));
  EXPECT_EQ(data->history[2].mem, 0);
}

TEST_F(MainWindow, PaintsTheComposedFrameOntoTheScreen) {
  ASSERT_TRUE(Create());
  MainWndData* data = MainWndRecord(hwnd_);
  KillTimer(hwnd_, IDT_SAMPLE);  // keep the history still
  for (int i = 0; i < 10; ++i)
    data->history[static_cast<std::size_t>(i)] =
        LoadSample{static_cast<std::uint8_t>(10 * i + 5), static_cast<std::uint8_t>(95 - 9 * i)};

  zqtest::Canvas expected(kMainWndWidth, kMainWndHeight);
  ComposeFrame(expected.dc(), *data);
  const zqtest::Pixels want = expected.Read();

  InvalidateRect(hwnd_, nullptr, FALSE);
  zqtest::Canvas shown(kMainWndWidth, kMainWndHeight);
  // The screen catches up asynchronously; poll it until it matches.
  const bool same = PumpUntil(
      [&] {
        shown.CopyFrom(hwnd_);
        return shown.Read().data == want.data;
      },
      5000);
  EXPECT_TRUE(same);
  // No erase came first: the class has no brush.
  EXPECT_EQ(GetClassLongPtrW(hwnd_, GCLP_HBRBACKGROUND), 0);
}

// --- Position save ----------------------------------------------------------

class PositionSave : public MainWindow {
 protected:
  bool Saved() const { return ReadDword(settings::kPosX) && ReadDword(settings::kPosY); }
  void ForgetSaved() {
    ASSERT_TRUE(zqtest::DeleteValue(settings::kKeyPath, settings::kPosX));
    ASSERT_TRUE(zqtest::DeleteValue(settings::kKeyPath, settings::kPosY));
  }
  void MoveTo(int x, int y) {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
};

TEST_F(PositionSave, AMoveIsSavedFiveHundredMillisecondsAfterItEnds) {
  ASSERT_TRUE(Create());
  ASSERT_TRUE(PumpUntil([&] { return Saved(); }, 5000));
  ForgetSaved();

  MoveTo(-40, 77);  // off screen to the left: saved as it is, negative
  const ULONGLONG moved = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return Saved(); }, 5000));
  const ULONGLONG delay = GetTickCount64() - moved;
  EXPECT_GE(delay, 450u);
  EXPECT_LT(delay, 2000u);
  EXPECT_EQ(static_cast<LONG>(*ReadDword(settings::kPosX)), -40);
  EXPECT_EQ(ReadDword(settings::kPosY), 77u);

  // The timer was a one-shot: no further save follows without a move.
  ForgetSaved();
  PumpFor(1200);
  EXPECT_FALSE(Saved());
}

TEST_F(PositionSave, ABurstOfMovesGivesOneSaveOfTheLastPlace) {
  ASSERT_TRUE(Create());
  ASSERT_TRUE(PumpUntil([&] { return Saved(); }, 5000));
  ForgetSaved();

  // Moves 100 ms apart keep restarting the countdown. A machine that stalls
  // past the countdown between two moves may save between them; a save
  // sooner (two system ticks of 15.6 ms allowed) is a fault.
  for (int step = 1; step <= 8; ++step) {
    const ULONGLONG moved = GetTickCount64();
    MoveTo(100 + 10 * step, 50 + 5 * step);
    PumpFor(100);
    if (!Saved()) continue;
    ASSERT_GE(GetTickCount64() - moved + 32, kSavePosDelayMs) << "saved in the middle of the burst, after move " << step;
    ForgetSaved();
  }
  ASSERT_TRUE(PumpUntil([&] { return Saved(); }, 5000));
  EXPECT_EQ(ReadDword(settings::kPosX), 180u);
  EXPECT_EQ(ReadDword(settings::kPosY), 90u);
}

// Another control's command or another timer's tick leaves the gadget as it is:
// no close, no save, no sample.
TEST_F(PositionSave, CommandsAndTimersNotItsOwnChangeNothing) {
  ASSERT_TRUE(Create());
  ASSERT_TRUE(PumpUntil([&] { return Saved(); }, 5000));
  ForgetSaved();
  const LoadHistory before = MainWndRecord(hwnd_)->history;
  EXPECT_EQ(SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(0x999, BN_CLICKED), 0), 0);
  EXPECT_EQ(SendMessageW(hwnd_, WM_TIMER, 999, 0), 0);
  EXPECT_TRUE(MainWndRecord(hwnd_)->history == before);
  EXPECT_TRUE(zqtest::ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present);
  EXPECT_FALSE(Saved());
}

TEST_F(PositionSave, ClosingWithinHalfASecondOfAMoveSavesNothing) {
  ASSERT_TRUE(Create());
  ASSERT_TRUE(PumpUntil([&] { return Saved(); }, 5000));
  ForgetSaved();

  MoveTo(300, 200);
  PumpFor(100);
  SendMessageW(hwnd_, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(hwnd_));
  PumpFor(1000);
  EXPECT_FALSE(Saved());
}

}  // namespace
