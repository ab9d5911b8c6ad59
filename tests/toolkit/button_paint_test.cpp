// Composed buttons, pixel by pixel: every artwork pixel names its source, so
// each probe says which piece of which bitmap landed where.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "art/test_art.h"
#include "button_paint.h"
#include "embedded_font.h"
#include "gadget_face.h"
#include "handles.h"
#include "support/zqtest.h"
#include "wbuttonex.h"

namespace {

using bx::ButtonFields;
using bx::VisualState;
using zqtest::Canvas;
using zqtest::Ink;
using zqtest::Source;
using zqtest::SourceOf;

constexpr COLORREF kUntouched = RGB(1, 2, 3);

Canvas Compose(int w, int h, const ButtonFields& f, VisualState state, std::wstring_view text = L"",
               HFONT font = nullptr) {
  Canvas canvas(w, h);
  canvas.Fill(kUntouched);
  bx::ComposeButton(canvas.dc(), w, h, {f, state, font, text, GetModuleHandleW(nullptr)});
  return canvas;
}

ButtonFields Framed() {
  ButtonFields f;
  f.skinStyle = BXSKIN_FRAMED;
  f.skinId = IDB_TEST_FRAMED;
  return f;
}

Source Skin(int x, int y) { return {TAG_FRAMED, x, y}; }

struct Probe {
  int x, y;
  Source from;
};

void ExpectProbes(const Canvas& c, const std::vector<Probe>& probes, const char* what) {
  for (const Probe& p : probes)
    EXPECT_EQ(SourceOf(c.At(p.x, p.y)), p.from) << what << " at (" << p.x << ", " << p.y << ")";
}

// Which skin columns and rows (of the first cell) reached the canvas at all.
struct Reached {
  std::set<int> columns, rows;
};
Reached SkinReached(const Canvas& c) {
  Reached reached;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (const Source s = SourceOf(c.At(x, y)); s.tag == TAG_FRAMED) {
        reached.columns.insert(s.x);
        reached.rows.insert(s.y);
      }
  return reached;
}

TEST(FramedSkin, At35OnlyCornersOverlappingByOne) {
  const Canvas c = Compose(35, 35, Framed(), bx::kNormal);
  ExpectProbes(c,
               {{0, 0, Skin(0, 0)}, {16, 0, Skin(16, 0)}, {17, 0, Skin(19, 0)}, {34, 0, Skin(36, 0)},
                {0, 16, Skin(0, 16)}, {0, 17, Skin(0, 19)}, {17, 17, Skin(19, 19)}, {34, 34, Skin(36, 36)}},
               "35 x 35");
  EXPECT_EQ(SkinReached(c).columns.count(18), 0u) << "no edges";
  EXPECT_EQ(SkinReached(c).rows.count(18), 0u) << "no edges, no centre";
}

TEST(FramedSkin, At36CornersMeetExactly) {
  const Canvas c = Compose(36, 36, Framed(), bx::kNormal);
  ExpectProbes(c, {{17, 0, Skin(17, 0)}, {18, 0, Skin(19, 0)}, {17, 17, Skin(17, 17)}, {18, 18, Skin(19, 19)},
                   {35, 35, Skin(36, 36)}},
               "36 x 36");
  EXPECT_EQ(SkinReached(c).columns.count(18), 0u);
  EXPECT_EQ(SkinReached(c).rows.count(18), 0u);
}

TEST(FramedSkin, At37OneEdgeColumnOneEdgeRowAndAOnePixelCentre) {
  const Canvas c = Compose(37, 37, Framed(), bx::kNormal);
  ExpectProbes(c,
               {{18, 0, Skin(18, 0)}, {18, 17, Skin(18, 17)}, {18, 19, Skin(18, 19)}, {18, 36, Skin(18, 36)},
                {0, 18, Skin(0, 18)}, {17, 18, Skin(17, 18)}, {19, 18, Skin(19, 18)}, {36, 18, Skin(36, 18)},
                {18, 18, Skin(18, 18)}, {36, 36, Skin(36, 36)}},
               "37 x 37");
}

TEST(FramedSkin, At100x30EdgesAcrossNoSidesNoCentre) {
  const Canvas c = Compose(100, 30, Framed(), bx::kNormal);
  ExpectProbes(c,
               {{17, 0, Skin(17, 0)}, {18, 0, Skin(18, 0)}, {81, 5, Skin(18, 5)}, {82, 0, Skin(19, 0)},
                {99, 0, Skin(36, 0)}, {0, 11, Skin(0, 11)}, {0, 12, Skin(0, 19)}, {50, 11, Skin(18, 11)},
                {50, 12, Skin(18, 19)}, {50, 29, Skin(18, 36)}, {99, 29, Skin(36, 36)}},
               "100 x 30");
  EXPECT_EQ(SkinReached(c).rows.count(18), 0u) << "no side edges and no centre";
}

TEST(FramedSkin, WideAndTallFillTheCentreWithTheCrossingPixel) {
  const Canvas c = Compose(60, 50, Framed(), bx::kNormal);
  ExpectProbes(c, {{18, 18, Skin(18, 18)}, {41, 31, Skin(18, 18)}, {42, 31, Skin(19, 18)}, {41, 32, Skin(18, 19)},
                   {0, 31, Skin(0, 18)}, {59, 20, Skin(36, 18)}},
               "60 x 50");
}

TEST(FramedSkin, EachStateReadsItsOwnCell) {
  const int tops[] = {0, 37, 74, 111};
  for (int s = bx::kNormal; s <= bx::kDisabled; ++s) {
    const Canvas c = Compose(37, 37, Framed(), static_cast<VisualState>(s));
    const int r = tops[s];
    ExpectProbes(c, {{0, 0, Skin(0, r)}, {36, 36, Skin(36, r + 36)}, {18, 18, Skin(18, r + 18)}}, "state");
  }
}

TEST(StripSkin, CopiesTheStatesRow) {
  ButtonFields f;
  f.skinStyle = BXSKIN_STRIP;
  f.skinId = IDB_TEST_STRIP35;
  const Canvas pressed = Compose(35, 35, f, bx::kPressed);
  ExpectProbes(pressed, {{0, 0, {TAG_STRIP35, 0, 70}}, {34, 34, {TAG_STRIP35, 34, 104}}}, "pressed");
  f.skinId = IDB_TEST_STRIP100;
  const int rows[] = {0, 30, 60, 90};
  for (int s = bx::kNormal; s <= bx::kDisabled; ++s) {
    const Canvas c = Compose(100, 30, f, static_cast<VisualState>(s));
    ExpectProbes(c, {{0, 0, {TAG_STRIP100, 0, rows[s]}}, {99, 29, {TAG_STRIP100, 99, rows[s] + 29}}}, "strip");
  }
}

TEST(Skin, UnknownStyleOrMissingBitmapGivesAPlainFace) {
  ButtonFields f = Framed();
  f.skinStyle = 5;
  const Canvas odd = Compose(35, 35, f, bx::kNormal);
  f = Framed();
  f.skinId = 0;
  const Canvas none = Compose(35, 35, f, bx::kNormal);
  for (const Canvas* c : {&odd, &none}) {
    EXPECT_EQ(c->At(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(c->At(34, 34), GetSysColor(COLOR_BTNFACE));
  }
}

ButtonFields WithIcons(int mode, int checked) {
  ButtonFields f = Framed();
  f.mode = mode;
  f.checked = checked;
  f.icon1Id = IDB_TEST_ICON1;
  f.icon1X = 3;
  f.icon1Y = 5;
  f.icon2Id = IDB_TEST_ICON2;
  f.icon2X = 4;
  f.icon2Y = 20;
  return f;
}

// Left edge of the icon with `tag` in row y, or -1.
int IconLeft(const Canvas& c, int tag, int y) {
  for (int x = 0; x < c.width; ++x)
    if (SourceOf(c.At(x, y)).tag == tag) return x;
  return -1;
}

TEST(Icons, SecondIconHangsFromTheRightEdgeOutsideToggle) {
  const Canvas c = Compose(35, 35, WithIcons(BXMODE_PUSH, 0), bx::kNormal);
  EXPECT_EQ(IconLeft(c, TAG_ICON2, 20), 21);
  EXPECT_EQ(SourceOf(c.At(30, 23)), (Source{TAG_ICON2, 9, 3}));
  EXPECT_EQ(SourceOf(c.At(31, 20)).tag, TAG_FRAMED);
  EXPECT_EQ(IconLeft(c, TAG_ICON1, 5), 3) << "both show outside toggle mode";
}

TEST(Icons, ToggleShowsOneIconEachAtItsOwnPlace) {
  const Canvas unchecked = Compose(35, 35, WithIcons(BXMODE_TOGGLE, 0), bx::kNormal);
  EXPECT_EQ(IconLeft(unchecked, TAG_ICON1, 5), 3);
  EXPECT_EQ(IconLeft(unchecked, TAG_ICON2, 20), -1);
  const Canvas checked = Compose(35, 35, WithIcons(BXMODE_TOGGLE, 1), bx::kNormal);
  EXPECT_EQ(IconLeft(checked, TAG_ICON1, 5), -1);
  EXPECT_EQ(IconLeft(checked, TAG_ICON2, 20), 4);
}

TEST(Icons, StatesAreQuartersOfTheBitmap) {
  const Canvas hover = Compose(35, 35, WithIcons(BXMODE_PUSH, 0), bx::kHover);
  EXPECT_EQ(SourceOf(hover.At(3, 5)), (Source{TAG_ICON1, 0, 3}));
  EXPECT_EQ(SourceOf(hover.At(12, 7)), (Source{TAG_ICON1, 9, 5}));
  EXPECT_EQ(SourceOf(hover.At(3, 8)).tag, TAG_FRAMED) << "three rows per state";
  const Canvas disabled = Compose(35, 35, WithIcons(BXMODE_PUSH, 0), bx::kDisabled);
  EXPECT_EQ(SourceOf(disabled.At(21, 20)), (Source{TAG_ICON2, 0, 12}));
  EXPECT_EQ(SourceOf(disabled.At(21, 23)), (Source{TAG_ICON2, 0, 15}));
}

class Text : public testing::Test {
 protected:
  static void SetUpTestSuite() { font_ = new EmbeddedFont; }
  static void TearDownTestSuite() { delete font_; }

  void SetUp() override {
    ASSERT_NE(font_->handle(), nullptr);
    font.reset(CreateGadgetFont(16));
  }
  void TearDown() override { font.reset(); }

  // Told apart from the same button composed without it; measured against
  // the state's colour or `colour`.
  Ink TextOf(int w, int h, ButtonFields f, VisualState state, std::wstring_view text,
             std::optional<COLORREF> colour = {}) {
    f.skinStyle = BXSKIN_STRIP;  // no bitmap: a plain face
    f.skinId = 0;
    const Canvas bare = Compose(w, h, f, state, L"", font.get());
    const Canvas with = Compose(w, h, f, state, text, font.get());
    return zqtest::InkOf(with.Read(), bare.Read(), {0, 0, w, h}, colour.value_or(f.colors[state]));
  }

  win32::UniqueFont font;
  static EmbeddedFont* font_;
};

EmbeddedFont* Text::font_ = nullptr;

TEST_F(Text, CentredByDefault) {
  const Ink fp = TextOf(100, 30, {}, bx::kNormal, L"OK");
  ASSERT_FALSE(fp.empty());
  EXPECT_NEAR(fp.left, 99 - fp.right, 2) << "horizontally centred";
  EXPECT_NEAR(fp.top, 29 - fp.bottom, 2) << "vertically centred";
}

TEST_F(Text, AtTextXStartsThereAndIsClippedAtTheRightEdge) {
  ButtonFields f;
  f.textX = 10;
  const Ink fp = TextOf(60, 30, f, bx::kNormal, L"WWWWWWWWWWWWWWWWWWWW");
  ASSERT_FALSE(fp.empty());
  EXPECT_GE(fp.left, 10);
  EXPECT_LE(fp.left, 12);
  EXPECT_GE(fp.right, 57) << "runs to the edge";
  EXPECT_NEAR(fp.top, 29 - fp.bottom, 2);
}

TEST_F(Text, ColourFollowsTheStateDisabledFirst) {
  ButtonFields f;
  f.colors[BXC_NORMAL] = RGB(250, 0, 0);
  f.colors[BXC_HOVER] = RGB(0, 250, 0);
  f.colors[BXC_PRESSED] = RGB(0, 0, 250);
  f.colors[BXC_DISABLED] = RGB(250, 250, 0);
  f.hover = true;  // a disabled control with the hover flag still set
  for (int s = bx::kNormal; s <= bx::kDisabled; ++s) {
    const auto state = static_cast<VisualState>(s);
    const Ink ink = TextOf(100, 30, f, state, L"HELLO");
    EXPECT_GT(ink.strong, 10) << "state " << s;
    EXPECT_EQ(ink.foreign, 0) << "state " << s;
    for (int other = bx::kNormal; other <= bx::kDisabled; ++other)
      EXPECT_EQ(TextOf(100, 30, f, state, L"HELLO", f.colors[other]).tint > zqtest::kOwnTint, other == s)
          << "state " << s << " against the colour of " << other;
  }
  EXPECT_EQ(bx::ChooseVisualState(false, f), bx::kDisabled);
}

TEST_F(Text, EmptyTextDrawsNothing) { EXPECT_TRUE(TextOf(35, 35, {}, bx::kNormal, L"").empty()); }

}  // namespace
