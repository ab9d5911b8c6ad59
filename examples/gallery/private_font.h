// The button typeface, added from the program's own resources for this
// process only.
#pragma once

#include <windows.h>

class PrivateFont {
 public:
  explicit PrivateFont(int resourceId);
  ~PrivateFont();
  PrivateFont(const PrivateFont&) = delete;
  PrivateFont& operator=(const PrivateFont&) = delete;

 private:
  HANDLE handle_ = nullptr;
};
