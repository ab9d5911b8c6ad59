// Where CreateMainWnd puts the window for seeded registry values. The same
// program runs on a 1366 x 768 and a 1920 x 1080 virtual screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

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

class Placement : public ::testing::Test {
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

void ExpectAt(POINT actual, LONG x, LONG y) {
  EXPECT_EQ(actual.x, x);
  EXPECT_EQ(actual.y, y);
}

TEST_F(Placement, NothingSavedCentresOnThePrimaryScreen) {
  ExpectAt(Placed(), screen_.centred.x, screen_.centred.y);
}

TEST_F(Placement, ANegativeLeftEdgeComesBackToZero) {
  zqtest::SeedDword(settings::kPosX, static_cast<DWORD>(-20));
  ExpectAt(Placed(), 0, screen_.centred.y);
}

TEST_F(Placement, APlacePastTheRightEdgeIsPulledBack) {
  zqtest::SeedDword(settings::kPosX, 1800);
  zqtest::SeedDword(settings::kPosY, 100);
  ExpectAt(Placed(), screen_.width - 349, 100);  // 1571 on a 1920-pixel screen
}

TEST_F(Placement, TheLargestWordsLandInTheBottomRightCorner) {
  zqtest::SeedDword(settings::kPosX, 2147483647);
  zqtest::SeedDword(settings::kPosY, 2147483647);
  ExpectAt(Placed(), screen_.width - 349, screen_.height - 366);
}

TEST_F(Placement, AStringPositionIsIgnoredWhileTheOtherCoordinateHolds) {
  const wchar_t text[] = L"40";
  zqtest::SeedValue(settings::kPosX, REG_SZ, text, sizeof text);
  zqtest::SeedDword(settings::kPosY, 60);
  ExpectAt(Placed(), screen_.centred.x, 60);
}

TEST_F(Placement, QwordPositionsAreIgnored) {
  const std::uint64_t x = 40, y = 60;
  zqtest::SeedValue(settings::kPosX, REG_QWORD, &x, sizeof x);
  zqtest::SeedValue(settings::kPosY, REG_QWORD, &y, sizeof y);
  ExpectAt(Placed(), screen_.centred.x, screen_.centred.y);
}

}  // namespace
