// The WButtonEx window class: registration, the record's lifetime and the
// window procedure.
#include "button_paint.h"
#include "button_record.h"
#include "gadget_face.h"
#include "wbuttonex.h"
#include "window_record.h"

namespace bx {
namespace {

constexpr LONG kButtonFontHeight = 16;

}  // namespace

ButtonData::ButtonData(HWND window)
    : hwnd(window), font(CreateGadgetFont(kButtonFontHeight)), platform(*this), core(platform) {}

Win32ButtonPlatform::Win32ButtonPlatform(ButtonData& record) : record_(record), hwnd_(record.hwnd) {}

Point Win32ButtonPlatform::cursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

bool Win32ButtonPlatform::isSelfAt(Point screen) { return WindowFromPoint(POINT{screen.x, screen.y}) == hwnd_; }

Point Win32ButtonPlatform::screenToClient(Point screen) {
  POINT p{screen.x, screen.y};
  ScreenToClient(hwnd_, &p);
  return {p.x, p.y};
}

Size Win32ButtonPlatform::clientSize() {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return {r.right, r.bottom};
}

void Win32ButtonPlatform::setCapture() { SetCapture(hwnd_); }
void Win32ButtonPlatform::releaseCapture() { ReleaseCapture(); }
void Win32ButtonPlatform::setTimer(uint32_t id, uint32_t periodMs) { SetTimer(hwnd_, id, periodMs, nullptr); }
void Win32ButtonPlatform::killTimer(uint32_t id) { KillTimer(hwnd_, id); }
void Win32ButtonPlatform::invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }

// Outside WM_PAINT there is no update region to paint through, so the
// control draws through its window DC.
void Win32ButtonPlatform::paintNow() {
  const win32::WindowDcGuard dc(hwnd_);
  PaintButton(record_, dc.dc());
}

bool Win32ButtonPlatform::isEnabled() { return IsWindowEnabled(hwnd_) != FALSE; }
void Win32ButtonPlatform::setFocus() { SetFocus(hwnd_); }

// The parent may destroy the control, and with it this object, inside
// SendMessageW: nothing of this object is used after it.
void Win32ButtonPlatform::commandParent() {
  const HWND self = hwnd_;
  const LONG_PTR id = GetWindowLongPtrW(self, GWLP_ID);
  SendMessageW(GetParent(self), WM_COMMAND, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(self));
}

void Win32ButtonPlatform::notifyParent(uint32_t code) {
  const HWND self = hwnd_;
  const LONG_PTR id = GetWindowLongPtrW(self, GWLP_ID);
  NMHDR header{self, static_cast<UINT_PTR>(id), code};
  SendMessageW(GetParent(self), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
}

void PaintButton(ButtonData& record, HDC target) {
  RECT client{};
  GetClientRect(record.hwnd, &client);
  const int w = client.right;
  const int h = client.bottom;
  const win32::BitmapDc buffer(target, CreateCompatibleBitmap(target, w, h));
  const std::wstring text = ReadButtonText(record.hwnd);
  const VisualState state = ChooseVisualState(IsWindowEnabled(record.hwnd) != FALSE, record.core.fields());
  const ButtonLook look{record.core.fields(), state, record.font.get(), text, GetModuleHandleW(nullptr)};
  ComposeButton(buffer.dc(), w, h, look);
  BitBlt(target, 0, 0, w, h, buffer.dc(), 0, 0, SRCCOPY);
}

namespace {

LRESULT OnPaint(ButtonData& record) {
  const win32::PaintGuard paint(record.hwnd);
  PaintButton(record, paint.dc());
  return 0;
}

LRESULT CALLBACK ButtonWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;  // without the default processing: WM_CREATE sets the text
    case WM_CREATE:
      if (!win32::AttachRecord<ButtonData>(hwnd)) return -1;
      win32::SetCreatedText(hwnd, lParam);
      return 0;
    case WM_NCDESTROY:
      // Deleting the record tells any handler still running that the control is gone.
      win32::DetachRecord(hwnd, win32::RecordOf<ButtonData>(hwnd));
      return 0;
    default:
      break;
  }
  ButtonData* record = win32::RecordOf<ButtonData>(hwnd);
  if (!record) return 0;
  ButtonCore& core = record->core;
  switch (msg) {
    case WM_ENABLE:
      core.OnEnable(wParam != 0);
      return 0;
    case WM_PAINT:
      return OnPaint(*record);
    case WM_TIMER:
      core.OnTimer(wParam);
      return 0;
    case WM_MOUSEMOVE:
      core.OnMouseMove();
      return 0;
    case WM_LBUTTONDOWN:
      core.OnLButtonDown();
      return 0;
    case WM_LBUTTONUP:
      core.OnLButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      core.OnCaptureChanged();
      return 0;
    default:
      break;
  }
  if (ButtonCore::IsControlMessage(msg)) return core.OnControlMessage(msg, wParam, lParam);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace
}  // namespace bx

DWORD RegisterButtonClass(void) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = bx::ButtonWndProc;
  wc.cbWndExtra = win32::kRecordBytes;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WBUTTONEX_CLASS;
  return RegisterClassExW(&wc);
}
