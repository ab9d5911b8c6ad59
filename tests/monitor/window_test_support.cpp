#include "window_test_support.h"

#include <algorithm>
#include <cstring>

#include "resource.h"
#include "settings.h"

namespace zqtest {

namespace {
bool g_quit = false;

void DispatchPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_quit = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    // Wakes for any message; the cap keeps conditions that no message
    // announces (registry values, pixels) checked often.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, 10)),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool QuitPosted() { return g_quit; }
void ResetQuit() { g_quit = false; }

void DeleteSettings() {
  RegDeleteTreeW(HKEY_CURRENT_USER, settings::kKeyPath);
}

void SeedValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, settings::kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void SeedDword(const wchar_t* name, DWORD value) {
  SeedValue(name, REG_DWORD, &value, sizeof value);
}

std::optional<DWORD> ReadDword(const wchar_t* name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, settings::kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, value = 0, size = sizeof value;
  const LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  initial_ = SelectObject(dc_, bitmap_);
}

DibCanvas::~DibCanvas() {
  SelectObject(dc_, initial_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

Pixels DibCanvas::Read() const {
  GdiFlush();
  Pixels p{width_, height_, std::vector<std::uint32_t>(static_cast<std::size_t>(width_ * height_))};
  if (bits_) std::memcpy(p.data.data(), bits_, p.data.size() * sizeof(std::uint32_t));
  for (auto& px : p.data) px &= 0x00FFFFFF;
  return p;
}

Pixels BackgroundArtwork() {
  const auto bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(IDB_BACKGROUND), IMAGE_BITMAP,
                                                      0, 0, LR_CREATEDIBSECTION));
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  DibCanvas canvas(info.bmWidth, info.bmHeight);
  const HDC source = CreateCompatibleDC(nullptr);
  const HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(canvas.dc(), 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(bitmap);
  return canvas.Read();
}

}  // namespace zqtest
