// The record of a window, kept in its class's extra bytes from the window's
// creation to its last message; the monitor window and the WButtonEx control
// both keep theirs so.
#pragma once

#include <windows.h>

#include <new>

namespace win32 {

// The class's cbWndExtra: one pointer, at index 0.
inline constexpr int kRecordBytes = sizeof(void*);

// The window's record, or nullptr before it is attached and after it is detached.
template <typename Record>
Record* RecordOf(HWND window) noexcept {
  return reinterpret_cast<Record*>(GetWindowLongPtrW(window, 0));
}

// A new Record(window) in the window's slot; nullptr, with nothing attached,
// when there is no memory for it.
template <typename Record>
Record* AttachRecord(HWND window) {
  auto* record = new (std::nothrow) Record(window);
  if (record) SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(record));
  return record;
}

// The slot is cleared first, so nothing reaches a record being destroyed.
template <typename Record>
void DetachRecord(HWND window, Record* record) {
  SetWindowLongPtrW(window, 0, 0);
  delete record;
}

// A WM_NCCREATE answered without the default processing leaves the window
// text unset; WM_CREATE sets it from its CREATESTRUCTW.
inline void SetCreatedText(HWND window, LPARAM create) {
  SetWindowTextW(window, reinterpret_cast<const CREATESTRUCTW*>(create)->lpszName);
}

}  // namespace win32
