// The typeface that travels in the executable, added privately to the process.
#pragma once

#include <windows.h>

#include "handles.h"

// Adds the IDR_FONT resource of the process's own module as a private font.
// Returns the handle for RemoveFontMemResourceEx, or nullptr on failure.
// `count`, when given, receives the number of fonts added (0 on failure).
HANDLE LoadEmbeddedFont(DWORD* count);

// Owns the private typeface from before the first window until after the loop.
class EmbeddedFont {
 public:
  EmbeddedFont() : handle_(LoadEmbeddedFont(&count_)) {}

  HANDLE handle() const { return handle_.get(); }
  DWORD count() const { return count_; }

 private:
  DWORD count_ = 0;  // before the handle, whose loading fills it in
  win32::UniqueFontResource handle_;
};
