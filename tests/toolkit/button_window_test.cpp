// The control as a real window under Wine: its class, creation, reports to
// a real parent, a parent that destroys it inside any report, and what
// reaches the screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "art/test_art.h"
#include "embedded_font.h"
#include "support/zqtest.h"
#include "wbuttonex.h"

namespace {

constexpr int kId = 7;
constexpr int kParentX = 40;
constexpr int kParentY = 40;
constexpr int kButtonX = 50;
constexpr int kButtonY = 50;

struct ParentLog {
  std::vector<std::string> reports;
  std::function<void(HWND button, const std::string& report)> onReport;
  std::vector<std::string> faults;
};
ParentLog* g_log = nullptr;

LRESULT OnParentCommand(HWND, WPARAM wParam, LPARAM lParam) {
  const HWND button = reinterpret_cast<HWND>(lParam);
  if (wParam != kId) g_log->faults.push_back("WM_COMMAND wParam " + std::to_string(wParam));
  const std::string line = "COMMAND v=" + std::to_string(SendMessageW(button, BXM_VALUE, 0, 0)) +
                           " c=" + std::to_string(SendMessageW(button, BXM_CHECKED, 0, 0));
  g_log->reports.push_back(line);
  if (g_log->onReport) g_log->onReport(button, line);
  return 0;
}

LRESULT OnParentNotify(HWND, WPARAM wParam, LPARAM lParam) {
  const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
  if (wParam != kId || nm->idFrom != kId || GetDlgCtrlID(nm->hwndFrom) != kId)
    g_log->faults.push_back("WM_NOTIFY ids");
  const std::string line = nm->code == BXN_HOVER ? "HOVER" : nm->code == BXN_LEAVE ? "LEAVE" : "code?";
  g_log->reports.push_back(line);
  if (g_log->onReport) g_log->onReport(nm->hwndFrom, line);
  return 0;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      return OnParentCommand(hwnd, wParam, lParam);
    case WM_NOTIFY:
      return OnParentNotify(hwnd, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

using zqtest::PumpFor;
using zqtest::PumpUntil;

void PointAt(int clientX, int clientY) { SetCursorPos(kButtonX + clientX, kButtonY + clientY); }
// Over the parent, below the control.
void PointAway() { SetCursorPos(kButtonX + 10, kButtonY + 100); }

class ButtonWindow : public testing::Test {
 protected:
  // One parent for the suite: a top-level window takes Wine seconds to go.
  static void SetUpTestSuite() {
    font_ = new EmbeddedFont;
    atom_ = RegisterButtonClass();
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    parent = zqtest::CreatePlainWindow({.className = L"ZqButtonTestParent", .procedure = ParentProc,
                                        .background = black, .x = kParentX, .y = kParentY, .width = 1100,
                                        .height = 200, .exStyle = WS_EX_TOPMOST});
    PumpFor(20);
  }
  static void TearDownTestSuite() {
    DestroyWindow(parent);
    delete font_;
  }

  void SetUp() override {
    ASSERT_NE(atom_, 0u);
    ASSERT_TRUE(parent);
    g_log = &log;
  }
  void TearDown() override {
    // Children left by a test go now, while the log still listens.
    while (const HWND child = GetWindow(parent, GW_CHILD)) DestroyWindow(child);
    EXPECT_EQ(log.faults, std::vector<std::string>{});
    g_log = nullptr;
  }

  HWND MakeButton(int mode, const wchar_t* text = L"", int w = 35, int h = 35) {
    const HWND b = CreateWindowExW(0, WBUTTONEX_CLASS, text, WS_CHILD | WS_VISIBLE, kButtonX - kParentX,
                                   kButtonY - kParentY, w, h, parent, reinterpret_cast<HMENU>(kId),
                                   GetModuleHandleW(nullptr), nullptr);
    ButtonExSet(b, BXM_MODE, mode, 0);
    ButtonExSet(b, BXM_RANGE, BXPAIR(0, 10), 0);
    ButtonExSet(b, BXM_SKINBITMAP, IDB_TEST_FRAMED, 1);
    UpdateWindow(b);
    return b;
  }

  ParentLog log;
  static HWND parent;
  static EmbeddedFont* font_;
  static DWORD atom_;
};

HWND ButtonWindow::parent = nullptr;
EmbeddedFont* ButtonWindow::font_ = nullptr;
DWORD ButtonWindow::atom_ = 0;

TEST_F(ButtonWindow, CreationSetsTheTextAndLaterTextWaitsForTheNextPaint) {
  const HWND b = MakeButton(BXMODE_PUSH, L"Hello");
  wchar_t text[16] = {};
  GetWindowTextW(b, text, 16);
  EXPECT_STREQ(text, L"Hello");
  EXPECT_EQ(ButtonExGet(b, BXM_MARGIN), 2);
  ValidateRect(b, nullptr);
  SetWindowTextW(b, L"Later");
  EXPECT_FALSE(GetUpdateRect(b, nullptr, FALSE));
  EXPECT_EQ(ButtonExSet(b, BXM_RANGE, BXPAIR(65535, 5), 1), BXPAIR(65535, 5));
  EXPECT_TRUE(GetUpdateRect(b, nullptr, FALSE));
}

TEST_F(ButtonWindow, AClickReportsTheLeaveThenTheCommand) {
  const HWND b = MakeButton(BXMODE_TOGGLE);
  PointAt(17, 17);
  SendMessageW(b, WM_MOUSEMOVE, 0, 0);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(GetCapture(), b);
  EXPECT_EQ(GetFocus(), b);
  SendMessageW(b, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(log.reports, (std::vector<std::string>{"LEAVE", "COMMAND v=0 c=1"}));
}

TEST_F(ButtonWindow, DwellReportsAfter191Milliseconds) {
  const HWND b = MakeButton(BXMODE_PUSH);
  PointAt(17, 17);
  const ULONGLONG start = GetTickCount64();
  SendMessageW(b, WM_MOUSEMOVE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !log.reports.empty(); }, 3000));
  EXPECT_GE(GetTickCount64() - start, 180u);
  EXPECT_EQ(log.reports.front(), "HOVER");
  PointAway();
  ASSERT_TRUE(PumpUntil([&] { return log.reports.size() == 2; }, 3000));
  EXPECT_EQ(log.reports.back(), "LEAVE");
}

TEST_F(ButtonWindow, SpinRepeatsWhileHeld) {
  const HWND b = MakeButton(BXMODE_SPIN);
  PointAt(17, 10);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_TRUE(PumpUntil([&] { return ButtonExGet(b, BXM_VALUE) >= 3; }, 3000));
  SendMessageW(b, WM_LBUTTONUP, 0, 0);
  EXPECT_EQ(log.reports.back(), "COMMAND v=3 c=0");
  EXPECT_EQ(log.reports[log.reports.size() - 2], "LEAVE");
}

TEST_F(ButtonWindow, DisablingAPressedControlShowsTheDisabledLookAtOnce) {
  const HWND b = MakeButton(BXMODE_PUSH);
  PointAt(17, 17);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  zqtest::Canvas screen(35, 35);
  // Pressed and showing it, before it is disabled.
  ASSERT_TRUE(PumpUntil(
      [&] {
        screen.CopyFrom(b);
        return zqtest::SourceOf(screen.At(0, 0)) == zqtest::Source{TAG_FRAMED, 0, 74};
      },
      3000));
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(log.reports, std::vector<std::string>{"LEAVE"});
  screen.CopyFrom(b);  // no message pumped: the direct paint
  EXPECT_EQ(zqtest::SourceOf(screen.At(0, 0)), (zqtest::Source{TAG_FRAMED, 0, 111}));
  EXPECT_EQ(zqtest::SourceOf(screen.At(34, 34)), (zqtest::Source{TAG_FRAMED, 36, 147}));
}

TEST_F(ButtonWindow, AtMost127CharactersOfTextReachTheScreen) {
  const std::wstring text = std::wstring(126, L'I') + L"X" + std::wstring(73, L'W');
  auto shown = [&](const std::wstring& t) {
    const HWND b = MakeButton(BXMODE_PUSH, t.c_str(), 1000, 30);
    ButtonExSet(b, BXM_TEXTX, 0, 1);
    UpdateWindow(b);
    zqtest::Canvas screen(1000, 30);
    screen.CopyFrom(b);
    DestroyWindow(b);
    return screen.Read().data;
  };
  const auto all = shown(text);
  EXPECT_TRUE(all == shown(text.substr(0, 127)));
  EXPECT_FALSE(all == shown(text.substr(0, 126))) << "the 127th character is drawn";
}

// A parent that destroys the control inside a report. Freed memory is
// poisoned, so a control that read its record afterwards would crash here.
struct DestroyCase {
  int mode;
  const char* report;  // the report to destroy in: "LEAVE", "HOVER" or a COMMAND prefix
  std::function<void(HWND)> gesture;
};

void Click(HWND b) {
  PointAt(17, 10);
  SendMessageW(b, WM_MOUSEMOVE, 0, 0);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  if (IsWindow(b)) SendMessageW(b, WM_LBUTTONUP, 0, 0);
}

void Latch(HWND b) {
  Click(b);
  if (IsWindow(b)) SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
}

void Hold(HWND b) {
  PointAt(17, 10);
  SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  PumpUntil([&] { return !IsWindow(b); }, 3000);
  if (IsWindow(b)) SendMessageW(b, WM_LBUTTONUP, 0, 0);
}

void Dwell(HWND b) {
  PointAt(17, 10);
  SendMessageW(b, WM_MOUSEMOVE, 0, 0);
  PumpUntil([&] { return !IsWindow(b); }, 3000);
}

void HoverThenLeave(HWND b) {
  PointAt(17, 10);
  SendMessageW(b, WM_MOUSEMOVE, 0, 0);
  PumpFor(30);
  PointAway();
  PumpUntil([&] { return !IsWindow(b); }, 3000);
}

TEST_F(ButtonWindow, ParentDestroysTheControlInsideAnyReport) {
  const DestroyCase cases[] = {
      {BXMODE_PUSH, "LEAVE", Click},     {BXMODE_PUSH, "COMMAND", Click},   {BXMODE_TOGGLE, "LEAVE", Click},
      {BXMODE_TOGGLE, "COMMAND", Click}, {BXMODE_CYCLE, "LEAVE", Click},    {BXMODE_CYCLE, "COMMAND", Click},
      {BXMODE_SPIN, "LEAVE", Click},     {BXMODE_SPIN, "COMMAND", Click},   {BXMODE_SPIN, "COMMAND", Hold},
      {BXMODE_LATCH, "COMMAND", Click},  {BXMODE_LATCH, "LEAVE", Latch},
  };
  std::vector<DestroyCase> all(std::begin(cases), std::end(cases));
  for (int mode : {0, 1, 2, 3, 4, 9}) {
    all.push_back({mode, "HOVER", Dwell});
    all.push_back({mode, "LEAVE", HoverThenLeave});
  }
  for (const DestroyCase& c : all) {
    log.reports.clear();
    const HWND b = MakeButton(c.mode);
    bool destroyed = false;
    log.onReport = [&](HWND from, const std::string& report) {
      if (report.rfind(c.report, 0) == 0 && !destroyed) {
        destroyed = true;
        DestroyWindow(from);
      }
    };
    c.gesture(b);
    PumpFor(100);  // anything left over would arrive now
    log.onReport = nullptr;
    EXPECT_TRUE(destroyed) << "mode " << c.mode << ", " << c.report;
    EXPECT_FALSE(IsWindow(b)) << "mode " << c.mode << ", " << c.report;
    ASSERT_FALSE(testing::Test::HasFatalFailure());
  }
}

}  // namespace
