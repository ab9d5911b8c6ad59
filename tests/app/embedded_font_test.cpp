// The typeface resource, added privately, really is the face the fonts ask for.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "embedded_font.h"
#include "gadget_face.h"
#include "handles.h"
#include "support/zqtest.h"

namespace {

// The face that the gadget's font of `height` really gets. Each probe uses a
// height of its own: Wine keeps the mapping of a recently deleted font and
// would hand back the earlier answer for the same LOGFONT.
std::wstring GadgetFaceAt(LONG height) { return zqtest::RealFaceOf(win32::UniqueFont(CreateGadgetFont(height)).get()); }

TEST(EmbeddedFont, AddsTheFaceThatFontsAskFor) {
  EXPECT_NE(GadgetFaceAt(17), L"Bebas Neue Regular")
      << "the face must not be installed on the system, or this test proves nothing";
  {
    EmbeddedFont font;
    ASSERT_NE(font.handle(), nullptr);
    EXPECT_GE(font.count(), 1u);
    EXPECT_EQ(GadgetFaceAt(18), L"Bebas Neue Regular");
    EXPECT_EQ(GadgetFaceAt(26), L"Bebas Neue Regular");
  }
}

TEST(EmbeddedFont, CountIsOptional) {
  const HANDLE handle = LoadEmbeddedFont(nullptr);
  ASSERT_NE(handle, nullptr);
  EXPECT_TRUE(RemoveFontMemResourceEx(handle));
}

}  // namespace
