// One way to own a Win32 handle: a movable owner per kind of handle, and
// scope guards for the calls that must be paired (SelectObject, BeginPaint,
// GetDC). Header-only; the monitor and the WButtonEx toolkit both use it.
#pragma once

#include <windows.h>

#include <utility>

namespace win32 {

// Owns one handle and releases it with `Close`. Empty when it holds nullptr.
template <typename Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  // Releases what is held now, then holds `handle`.
  void reset(Handle handle = nullptr) noexcept {
    if (const Handle old = std::exchange(handle_, handle)) Close(old);
  }
  // Gives the handle up without releasing it.
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, nullptr); }
  // Releases what is held now and lends the empty slot to a call that
  // fills it through an out-parameter.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueFont = UniqueHandle<HFONT, ::DeleteObject>;
using UniquePen = UniqueHandle<HPEN, ::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, ::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, ::DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, ::DeleteDC>;
using UniqueRegKey = UniqueHandle<HKEY, ::RegCloseKey>;
// Processes, jobs and other kernel objects whose empty value is nullptr.
using UniqueKernelHandle = UniqueHandle<HANDLE, ::CloseHandle>;
// A typeface added with AddFontMemResourceEx.
using UniqueFontResource = UniqueHandle<HANDLE, ::RemoveFontMemResourceEx>;

// Puts back, at the end of the scope, the object that a selection replaced.
class SelectionGuard {
 public:
  // Selects `object`; what it replaces goes back at the end.
  SelectionGuard(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), kept_(dc && object ? SelectObject(dc, object) : nullptr) {}
  // Selects nothing now: the object of `type` (OBJ_PEN, OBJ_FONT, ...) that
  // the DC holds now goes back at the end, whatever is selected in between.
  static SelectionGuard Keep(HDC dc, UINT type) noexcept { return SelectionGuard(dc, type); }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;
  ~SelectionGuard() {
    if (kept_) SelectObject(dc_, kept_);
  }

 private:
  SelectionGuard(HDC dc, UINT type) noexcept : dc_(dc), kept_(GetCurrentObject(dc, type)) {}
  HDC dc_;
  HGDIOBJ kept_;
};

// BeginPaint for the scope, EndPaint at its end.
class PaintGuard {
 public:
  explicit PaintGuard(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintGuard(const PaintGuard&) = delete;
  PaintGuard& operator=(const PaintGuard&) = delete;
  ~PaintGuard() { EndPaint(window_, &paint_); }
  HDC dc() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// GetDC for the scope, ReleaseDC at its end.
class WindowDcGuard {
 public:
  explicit WindowDcGuard(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDcGuard(const WindowDcGuard&) = delete;
  WindowDcGuard& operator=(const WindowDcGuard&) = delete;
  ~WindowDcGuard() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC dc() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A bitmap selected into a memory DC of its own, owning both. On release the
// bitmap is deselected first, then the DC is deleted, then the bitmap: a
// bitmap is never deleted while selected.
class BitmapDc {
 public:
  BitmapDc() noexcept = default;
  // Takes `bitmap` (which may be nullptr) into a new DC compatible with `compatibleWith`.
  BitmapDc(HDC compatibleWith, HBITMAP bitmap) noexcept
      : bitmap_(bitmap), dc_(CreateCompatibleDC(compatibleWith)) {
    if (dc_ && bitmap_) initial_ = SelectObject(dc_.get(), bitmap_.get());
  }
  BitmapDc(BitmapDc&& other) noexcept
      : bitmap_(std::move(other.bitmap_)), dc_(std::move(other.dc_)), initial_(std::exchange(other.initial_, nullptr)) {}
  BitmapDc& operator=(BitmapDc&& other) noexcept {
    if (this != &other) {
      reset();
      bitmap_ = std::move(other.bitmap_);
      dc_ = std::move(other.dc_);
      initial_ = std::exchange(other.initial_, nullptr);
    }
    return *this;
  }
  ~BitmapDc() { reset(); }

  HDC dc() const noexcept { return dc_.get(); }
  HBITMAP bitmap() const noexcept { return bitmap_.get(); }

  // Releases both now, in the order above.
  void reset() noexcept {
    if (initial_) SelectObject(dc_.get(), std::exchange(initial_, nullptr));
    dc_.reset();
    bitmap_.reset();
  }

 private:
  UniqueBitmap bitmap_;
  UniqueMemoryDc dc_;
  HGDIOBJ initial_ = nullptr;
};

}  // namespace win32
