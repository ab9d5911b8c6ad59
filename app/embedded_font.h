// The typeface that travels in the executable, added privately to the process.
#pragma once

#include <windows.h>

// Adds the IDR_FONT resource of the process's own module as a private font.
// Returns the handle for RemoveFontMemResourceEx, or nullptr on failure.
// `count`, when given, receives the number of fonts added (0 on failure).
HANDLE LoadEmbeddedFont(DWORD* count);

// Owns the private typeface from before the first window until after the loop.
class EmbeddedFont {
 public:
  EmbeddedFont() : handle_(LoadEmbeddedFont(&count_)) {}
  ~EmbeddedFont() {
    if (handle_) RemoveFontMemResourceEx(handle_);
  }
  EmbeddedFont(const EmbeddedFont&) = delete;
  EmbeddedFont& operator=(const EmbeddedFont&) = delete;

  HANDLE handle() const { return handle_; }
  DWORD count() const { return count_; }

 private:
  DWORD count_ = 0;
  HANDLE handle_;
};
