// A 32-bit top-down DIB section selected into a memory DC, whose pixels a
// test reads directly, and the decoding of the test artwork's pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <ostream>

#include "gdi.h"

namespace paint_test {

class Canvas {
 public:
  Canvas(int width, int height) : width(width), height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    surface_ = std::make_unique<bx::BitmapInDC>(nullptr, dib);
  }
  HDC dc() const { return surface_->dc(); }
  // As a COLORREF: 0x00BBGGRR.
  COLORREF At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(COLORREF c) {
    for (int i = 0; i < width * height; ++i)
      bits_[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  // Copies a window's client area as it is on the screen now.
  void CopyFrom(HWND hwnd) {
    const bx::WindowDC window(hwnd);
    BitBlt(dc(), 0, 0, width, height, window.dc(), 0, 0, SRCCOPY);
  }

  const int width;
  const int height;

 private:
  uint32_t* bits_ = nullptr;
  std::unique_ptr<bx::BitmapInDC> surface_;
};

// The test artwork's pixel (x, y) of the bitmap with blue `tag` is RGB(x, y, tag).
struct Source {
  int tag;
  int x;
  int y;
  bool operator==(const Source&) const = default;
};

inline Source SourceOf(COLORREF c) { return {GetBValue(c), GetRValue(c), GetGValue(c)}; }

inline std::ostream& operator<<(std::ostream& os, const Source& s) {
  return os << "{tag " << s.tag << ", " << s.x << ", " << s.y << "}";
}

}  // namespace paint_test
