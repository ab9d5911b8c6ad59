// Where CreateMainWnd puts the window for seeded registry values. The same
// program runs on a 1366 x 768 and a 1920 x 1080 virtual screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "main_window.h"
#include "settings.h"
#include "support/zqtest.h"

namespace {

struct Screen {
  int width, height;
  POINT centred;
};

// The screen this run got from the Wine sandbox; each size has its expectations.
Screen CurrentScreen() {
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  if (w == 1366 && h == 768) return {w, h, {509, 201}};
  if (w == 1920 && h == 1080) return {w, h, {786, 357}};
  ADD_FAILURE() << "runs on a 1366x768 or 1920x1080 screen, not " << w << "x" << h;
  return {w, h, {w / 2 - 174, h / 2 - 183}};
}

// A seeded position value: none, a DWORD, a string of the number or a QWORD.
struct Seed {
  DWORD type = REG_NONE;
  std::uint64_t value = 0;
};

void SeedPosition(const wchar_t* name, const Seed& seed) {
  const std::wstring text = std::to_wstring(seed.value);
  if (seed.type == REG_SZ) zqtest::SeedValue(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
  else if (seed.type != REG_NONE) zqtest::SeedValue(name, seed.type, &seed.value, seed.type == REG_DWORD ? 4 : 8);
}

// Where the window lands: a coordinate, or this screen's centred place or
// farthest one that keeps the window whole (x 1571 on a 1920-pixel screen).
constexpr LONG kCentred = -1, kFarEdge = -2;

struct Case {
  const char* name;
  Seed x, y;
  LONG wantX, wantY;
};

const Case kCases[] = {
    {"NothingSavedCentresOnThePrimaryScreen", {}, {}, kCentred, kCentred},
    {"ANegativeLeftEdgeComesBackToZero", {REG_DWORD, static_cast<DWORD>(-20)}, {}, 0, kCentred},
    {"APlacePastTheRightEdgeIsPulledBack", {REG_DWORD, 1800}, {REG_DWORD, 100}, kFarEdge, 100},
    {"TheLargestWordsLandInTheBottomRightCorner", {REG_DWORD, 2147483647}, {REG_DWORD, 2147483647}, kFarEdge, kFarEdge},
    {"AStringPositionIsIgnoredWhileTheOtherCoordinateHolds", {REG_SZ, 40}, {REG_DWORD, 60}, kCentred, 60},
    {"QwordPositionsAreIgnored", {REG_QWORD, 40}, {REG_QWORD, 60}, kCentred, kCentred},
};

class Placement : public ::testing::TestWithParam<Case> {
 protected:
  static void SetUpTestSuite() { ASSERT_NE(RegisterMainWndClass(), 0u); }
  void SetUp() override {
    zqtest::DeleteSettings();
    screen_ = CurrentScreen();
  }
  void TearDown() override {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    zqtest::PumpFor(0);
  }

  POINT Placed() {
    hwnd_ = CreateMainWnd();
    EXPECT_TRUE(hwnd_);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    EXPECT_EQ(r.right - r.left, 349);
    EXPECT_EQ(r.bottom - r.top, 366);
    return {r.left, r.top};
  }

  Screen screen_{};
  HWND hwnd_ = nullptr;
};

TEST_P(Placement, LandsWhereItsSeedsSay) {
  SeedPosition(settings::kPosX, GetParam().x);
  SeedPosition(settings::kPosY, GetParam().y);
  const auto want = [](LONG v, LONG centred, LONG farEdge) {
    return v == kCentred ? centred : v == kFarEdge ? farEdge : v;
  };
  const POINT at = Placed();
  EXPECT_EQ(at.x, want(GetParam().wantX, screen_.centred.x, screen_.width - 349));
  EXPECT_EQ(at.y, want(GetParam().wantY, screen_.centred.y, screen_.height - 366));
}

INSTANTIATE_TEST_SUITE_P(Seeded, Placement, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
