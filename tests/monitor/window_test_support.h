// Shared by the Windows tests of the monitor window: message pumping with
// bounded waits, the gadget's registry key, and pixel captures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zqtest {

// Dispatches messages until `done` holds or `timeoutMs` has passed; true if
// it holds. WM_QUIT, which a destroyed monitor window posts, is noted in
// QuitPosted() and swallowed so that later tests can still pump.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches messages for the whole period (to show that nothing happens).
void PumpFor(DWORD ms);
bool QuitPosted();
void ResetQuit();

// The gadget's settings key, removed, and raw values written into it.
void DeleteSettings();
void SeedValue(const wchar_t* name, DWORD type, const void* data, DWORD size);
void SeedDword(const wchar_t* name, DWORD value);
// A REG_DWORD value of the key, or nothing if it is missing or of another type.
std::optional<DWORD> ReadDword(const wchar_t* name);

// A 32-bit top-down pixel buffer, 0x00RRGGBB per pixel (a COLORREF's bytes
// swapped: compare with Rgb()).
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> data;
  std::uint32_t at(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }
};
constexpr std::uint32_t Rgb(COLORREF c) {
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A DIB section selected into a memory DC, for drawing into and reading back.
class DibCanvas {
 public:
  DibCanvas(int width, int height);
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;
  HDC dc() const { return dc_; }
  Pixels Read() const;

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ initial_ = nullptr;
  void* bits_ = nullptr;
};

// The module's IDB_BACKGROUND artwork as pixels.
Pixels BackgroundArtwork();

}  // namespace zqtest
