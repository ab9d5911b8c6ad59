// A program built without the typeface resource: loading fails quietly.
#include <gtest/gtest.h>
#include <windows.h>

#include "embedded_font.h"

TEST(EmbeddedFont, MissingResourceGivesNoHandleAndCountZero) {
  DWORD count = 99;
  EXPECT_EQ(LoadEmbeddedFont(&count), nullptr);
  EXPECT_EQ(count, 0u);
}
