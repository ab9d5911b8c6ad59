// Where the monitor window lands for a saved place and a screen size.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "placement.h"

namespace {

constexpr std::uint32_t Word(std::int32_t signedValue) {
  return static_cast<std::uint32_t>(signedValue);
}

TEST(Placement, NothingSavedCentresOnTheScreen) {
  EXPECT_EQ(PlaceMainWnd(std::nullopt, std::nullopt, 1366, 768), (WindowOrigin{509, 201}));
  EXPECT_EQ(PlaceMainWnd(std::nullopt, std::nullopt, 1920, 1080), (WindowOrigin{786, 357}));
  // Odd sizes round the halves down.
  EXPECT_EQ(PlaceMainWnd(std::nullopt, std::nullopt, 1025, 769), (WindowOrigin{338, 201}));
}

TEST(Placement, EachCoordinateFallsBackOnItsOwn) {
  EXPECT_EQ(PlaceMainWnd(Word(40), std::nullopt, 1920, 1080), (WindowOrigin{40, 357}));
  EXPECT_EQ(PlaceMainWnd(std::nullopt, Word(50), 1920, 1080), (WindowOrigin{786, 50}));
  EXPECT_EQ(PlaceMainWnd(Word(0), Word(0), 1920, 1080), (WindowOrigin{0, 0}));
  // Either coordinate alone makes another place.
  EXPECT_NE(PlaceMainWnd(Word(0), Word(1), 1920, 1080), (WindowOrigin{0, 0}));
  EXPECT_NE(PlaceMainWnd(Word(1), Word(0), 1920, 1080), (WindowOrigin{0, 0}));
}

TEST(Placement, SavedWordsReadSignedAndClampOntoTheScreen) {
  EXPECT_EQ(PlaceMainWnd(Word(-20), Word(-100), 1920, 1080), (WindowOrigin{0, 0}));
  EXPECT_EQ(PlaceMainWnd(Word(1800), Word(900), 1920, 1080), (WindowOrigin{1571, 714}));
  EXPECT_EQ(PlaceMainWnd(Word(2147483647), Word(2147483647), 1920, 1080),
            (WindowOrigin{1571, 714}));
  EXPECT_EQ(PlaceMainWnd(Word(2147483647), Word(2147483647), 1366, 768), (WindowOrigin{1017, 402}));
  EXPECT_EQ(PlaceMainWnd(0x80000000u, 0xFFFFFFFFu, 1366, 768), (WindowOrigin{0, 0}));
  // The last place that keeps the window whole stays as it is.
  EXPECT_EQ(PlaceMainWnd(Word(1571), Word(714), 1920, 1080), (WindowOrigin{1571, 714}));
  EXPECT_EQ(PlaceMainWnd(Word(1572), Word(715), 1920, 1080), (WindowOrigin{1571, 714}));
}

TEST(Placement, OnAScreenSmallerThanTheWindowTheFarEdgesWin) {
  // The left and top rules run first; the right and bottom ones override them.
  EXPECT_EQ(PlaceMainWnd(Word(-20), Word(-20), 300, 200), (WindowOrigin{-49, -166}));
  EXPECT_EQ(PlaceMainWnd(std::nullopt, std::nullopt, 300, 200), (WindowOrigin{-49, -166}));
  EXPECT_EQ(PlaceMainWnd(Word(10), Word(10), 349, 366), (WindowOrigin{0, 0}));
}

}  // namespace
