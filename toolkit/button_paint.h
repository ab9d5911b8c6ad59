// Composing a button's look: skin, icons and text for one visual state.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "button_core.h"

namespace bx {

// Everything a paint reads; bitmaps come from `module` by integer id.
struct ButtonLook {
  const ButtonFields& fields;
  VisualState state;
  HFONT font;  // null: the DC's default font
  std::wstring_view text;
  HMODULE module;
};

// Composes the whole width x height client area into `dc`, which must hold
// a bitmap of at least that size.
void ComposeButton(HDC dc, int width, int height, const ButtonLook& look);

// The text a paint shows: the window text, at most 127 characters.
std::wstring ReadButtonText(HWND hwnd);

}  // namespace bx
