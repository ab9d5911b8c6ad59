// Composed frames, compared pixel by pixel: the artwork everywhere except
// the bars and the texts, bars of exact heights and colours in exact
// columns, and each text in its own rectangle in its series colour.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>

#include "load_math.h"
#include "main_window.h"
#include "painting.h"
#include "placement.h"
#include "resource.h"
#include "support/painting_record.h"
#include "support/zqtest.h"

namespace {

using zqtest::ComposedFace;
using zqtest::Drawn;
using zqtest::Ink;
using zqtest::Pixels;

const Pixels g_art = zqtest::BitmapResourcePixels(IDB_BACKGROUND);

bool Inside(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

std::vector<RECT> TextRects() {
  std::vector<RECT> rects{face::kCpuReading, face::kMemReading};
  for (int i = 0; i < face::kColumns; ++i) {
    rects.push_back(face::CpuLabel(i));
    rects.push_back(face::MemLabel(i));
  }
  return rects;
}

// The colour a bar gives the pixel, if any.
std::optional<COLORREF> BarColour(const LoadHistory& history, int x, int y) {
  for (int i = 0; i < face::kColumns; ++i) {
    const LoadSample s = history[static_cast<std::size_t>(i)];
    const auto in = [&](int left, int value) {
      return x >= left && x < left + face::kBarWidth && y <= face::kBarBase &&
             y > face::kBarBase - value;
    };
    if (in(face::CpuBarLeft(i), s.cpu)) return kCpuColour;
    if (in(face::MemBarLeft(i), s.mem)) return kMemColour;
  }
  return std::nullopt;
}

// Every pixel outside the text rectangles is either a bar's, in its exact
// colour, or the artwork's.
void ExpectBarsOnArtwork(const LoadHistory& history) {
  const Pixels frame = ComposedFace(history);
  const auto texts = TextRects();
  int mismatches = 0;
  for (int y = 0; y < kMainWndHeight; ++y) {
    for (int x = 0; x < kMainWndWidth; ++x) {
      if (std::any_of(texts.begin(), texts.end(), [&](const RECT& r) { return Inside(r, x, y); }))
        continue;
      const COLORREF expected = BarColour(history, x, y).value_or(g_art.At(x, y));
      if (frame.At(x, y) != expected && ++mismatches <= 5)
        ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << frame.At(x, y)
                      << ", expected " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// The text's ink on the artwork, in the given series colour.
Ink InkOf(const Pixels& frame, const RECT& r, COLORREF colour) { return zqtest::InkOf(frame, g_art, r, colour); }

// The text's ink is in the series colour, not the other series', and
// centred both ways in its rectangle.
void ExpectCentredText(const Pixels& frame, const RECT& r, COLORREF colour, COLORREF other, int minInk) {
  const Ink ink = InkOf(frame, r, colour);
  EXPECT_GE(ink.strong, minInk);
  EXPECT_EQ(ink.foreign, 0);
  EXPECT_GT(ink.tint, zqtest::kOwnTint);
  EXPECT_LT(InkOf(frame, r, other).tint, zqtest::kOwnTint);
  if (ink.count == 0) return;
  // Twice the centres, to stay in whole numbers.
  EXPECT_NEAR(ink.left + ink.right + 1, r.left + r.right, 3) << "horizontal centre";
  EXPECT_NEAR(ink.top + ink.bottom + 1, r.top + r.bottom, 5) << "vertical centre";
}

LoadHistory Mixed() {
  LoadHistory h;
  const std::array<LoadSample, 10> samples{{{100, 1}, {0, 100}, {1, 0}, {50, 75}, {25, 26},
                                            {99, 98}, {7, 93}, {0, 0}, {100, 100}, {1, 100}}};
  std::copy(samples.begin(), samples.end(), h.begin());
  return h;
}

TEST(ComposedFrame, AllZeroHistoryShowsNoBarsAndZeroesEverywhere) {
  const LoadHistory zero{};
  ExpectBarsOnArtwork(zero);
  const Pixels frame = ComposedFace(zero);
  ExpectCentredText(frame, face::kCpuReading, kCpuColour, kMemColour, 20);
  ExpectCentredText(frame, face::kMemReading, kMemColour, kCpuColour, 20);
  const Ink bigZero = InkOf(frame, face::kCpuReading, kCpuColour);
  for (int i = 0; i < face::kColumns; ++i) {
    ExpectCentredText(frame, face::CpuLabel(i), kCpuColour, kMemColour, 8);
    ExpectCentredText(frame, face::MemLabel(i), kMemColour, kCpuColour, 8);
    // The labels use the smaller font.
    EXPECT_LT(InkOf(frame, face::CpuLabel(i), kCpuColour).bottom - InkOf(frame, face::CpuLabel(i), kCpuColour).top,
              bigZero.bottom - bigZero.top);
  }
}

TEST(ComposedFrame, BarsHaveExactHeightsColoursAndColumns) {
  ExpectBarsOnArtwork(Mixed());
  LoadHistory full;
  full.fill(LoadSample{100, 100});
  ExpectBarsOnArtwork(full);

  // The named edges: 100 reaches the grid's top line, 1 is the base row only.
  const Pixels frame = ComposedFace(Mixed());
  EXPECT_EQ(frame.At(29, 213), kCpuColour);  // column 0, processor 100
  EXPECT_EQ(frame.At(33, 312), kCpuColour);
  EXPECT_EQ(frame.At(29, 212), g_art.At(29, 212));
  EXPECT_EQ(frame.At(36, 312), kMemColour);  // column 0, memory 1
  EXPECT_EQ(frame.At(40, 312), kMemColour);
  EXPECT_EQ(frame.At(36, 311), g_art.At(36, 311));
  EXPECT_EQ(frame.At(34, 312), g_art.At(34, 312));  // the gap between the bars
  EXPECT_EQ(frame.At(35, 312), g_art.At(35, 312));
  EXPECT_EQ(frame.At(308, 312), kCpuColour);  // column 9 (R = 329), processor 1
  EXPECT_EQ(frame.At(312, 311), g_art.At(312, 311));
  EXPECT_EQ(frame.At(315, 213), kMemColour);  // column 9, memory 100
  EXPECT_EQ(frame.At(319, 213), kMemColour);
  EXPECT_EQ(frame.At(320, 213), g_art.At(320, 213));
}

TEST(ComposedFrame, TextsSitInTheirRectanglesInTheSeriesColours) {
  const LoadHistory history = Mixed();
  const Pixels frame = ComposedFace(history);
  ExpectCentredText(frame, face::kCpuReading, kCpuColour, kMemColour, 40);
  ExpectCentredText(frame, face::kMemReading, kMemColour, kCpuColour, 10);
  for (int i = 0; i < face::kColumns; ++i) {
    SCOPED_TRACE(i);
    ExpectCentredText(frame, face::CpuLabel(i), kCpuColour, kMemColour, 5);
    ExpectCentredText(frame, face::MemLabel(i), kMemColour, kCpuColour, 5);
  }
  // "100" is wider than "1", and both are centred over the same column.
  const Ink hundred = InkOf(frame, face::CpuLabel(0), kCpuColour);
  const Ink one = InkOf(frame, face::MemLabel(0), kMemColour);
  EXPECT_GT(hundred.right - hundred.left, 2 * (one.right - one.left));
  const Ink bigHundred = InkOf(frame, face::kCpuReading, kCpuColour);
  const Ink bigOne = InkOf(frame, face::kMemReading, kMemColour);
  EXPECT_GT(bigHundred.right - bigHundred.left, 2 * (bigOne.right - bigOne.left));
}

TEST(ComposedFrame, LargeReadingsShowTheNewestSampleOnly) {
  LoadHistory a = Mixed();
  LoadHistory b = Mixed();
  b[9] = LoadSample{55, 66};  // an older sample changes only its column
  const Pixels fa = ComposedFace(a);
  const Pixels fb = ComposedFace(b);
  // The pixels where one frame differs from the other, as their ink.
  for (const RECT& r : {face::kCpuReading, face::kMemReading}) EXPECT_TRUE(zqtest::InkOf(fb, fa, r, 0).empty());

  LoadHistory c = Mixed();
  c[0] = LoadSample{42, 58};
  const Pixels fc = ComposedFace(c);
  EXPECT_NE(InkOf(fa, face::kCpuReading, kCpuColour).count, 0);
  EXPECT_FALSE(zqtest::InkOf(fc, fa, face::kCpuReading, 0).empty());
}

// The pixels of one chart column off the flat stand-in, relative to its right edge.
constexpr COLORREF kFlat = RGB(20, 30, 40);
std::vector<std::pair<int, COLORREF>> ColumnInk(const Pixels& frame, int i) {
  std::vector<std::pair<int, COLORREF>> ink;
  const int right = face::ColumnRight(i);
  for (int y = 213; y < 352; ++y) {
    for (int x = right - 30; x < right; ++x) {
      const COLORREF c = frame.At(x, y);
      if (c != kFlat) ink.emplace_back((y << 8) | (x - right + 30), c);
    }
  }
  return ink;
}

TEST(ComposedFrame, ATickMovesEverySampleOneColumnRight) {
  LoadHistory history = Mixed();
  const Pixels before = ComposedFace(history, Drawn::kComposed, kFlat);
  PushSample(history, LoadSample{33, 44});
  const Pixels after = ComposedFace(history, Drawn::kComposed, kFlat);
  for (int i = 0; i + 1 < face::kColumns; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ColumnInk(before, i), ColumnInk(after, i + 1));
  }
  EXPECT_NE(ColumnInk(before, 0), ColumnInk(after, 0));
}

TEST(ComposedFrame, TheTargetKeepsItsPenAndFont) {
  MainWndData data;
  zqtest::EquipForPainting(data);
  zqtest::Canvas canvas(kMainWndWidth, kMainWndHeight);
  const HGDIOBJ pen = GetCurrentObject(canvas.dc(), OBJ_PEN);
  const HGDIOBJ font = GetCurrentObject(canvas.dc(), OBJ_FONT);
  ComposeFrame(canvas.dc(), data);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_FONT), font);
}

}  // namespace
