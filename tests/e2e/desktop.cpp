#include "desktop.h"

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "scenario.h"

namespace e2e {

namespace {

// Under Wine, kernel32 converts a Unix file name into its DOS name.
using WineDosFileNameFn = WCHAR*(CDECL*)(const char* unixName);

void Send(INPUT input) {
  if (SendInput(1, &input, sizeof input) != 1) std::fprintf(stderr, "SendInput failed: %lu\n", GetLastError());
}

bool CursorAt(POINT at) {
  POINT now{};
  return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
}

// The absolute coordinate that the system maps back onto `pixel` exactly,
// whether it scales by truncating or by rounding.
LONG Normalised(int pixel, int origin, int extent) {
  return static_cast<LONG>((static_cast<long long>(pixel - origin) * 65536 + extent - 1) / extent);
}

// What the system knows of the thread of `window`: its active window, its
// loops; zeroed where it cannot tell.
GUITHREADINFO ThreadOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) info = {};
  return info;
}

// The screen's pixels in `area`, as they are.
zqtest::Pixels Grab(const RECT& area) {
  zqtest::Canvas canvas(area.right - area.left, area.bottom - area.top);
  const win32::WindowDcGuard screen(nullptr);
  BitBlt(canvas.dc(), 0, 0, canvas.width, canvas.height, screen.dc(), area.left, area.top, SRCCOPY);
  return canvas.Read();
}

LRESULT HitTest(HWND window, POINT at) {
  DWORD_PTR hit = HTNOWHERE;
  SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y), SMTO_ABORTIFHUNG, 2000, &hit);
  return static_cast<LRESULT>(static_cast<LONG_PTR>(hit));
}

}  // namespace

std::wstring WindowsPath(const std::wstring& path) {
  std::wstring dos = path;
  if (!path.empty() && path[0] == L'/') {
    const auto toDos = reinterpret_cast<WineDosFileNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (WCHAR* name = toDos ? toDos(zqtest::Utf8(path).c_str()) : nullptr) {
      dos = name;
      HeapFree(GetProcessHeap(), 0, name);
    }
  }
  wchar_t full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameW(dos.c_str(), MAX_PATH * 4, full, nullptr);
  return length > 0 && length < MAX_PATH * 4 ? std::wstring(full, length) : dos;
}

namespace {

struct TitleSearch {
  const wchar_t* title;
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTitled(HWND window, LPARAM context) {
  auto& s = *reinterpret_cast<TitleSearch*>(context);
  wchar_t text[256] = {};
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (IsWindowVisible(window) && (s.pid == 0 || owner == s.pid) && GetWindowTextW(window, text, 256) > 0 &&
      wcscmp(text, s.title) == 0)
    s.found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> WindowsTitled(const wchar_t* title, DWORD pid) {
  TitleSearch search{title, pid, {}};
  EnumWindows(CollectTitled, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND AwaitWindow(const wchar_t* title, DWORD timeoutMs, DWORD pid) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = WindowsTitled(title, pid);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool WindowAt(HWND window, POINT p) {
  const RECT r = WindowRect(window);
  return r.left == p.x && r.top == p.y;
}

std::wstring PointText(POINT p) { return L"(" + std::to_wstring(p.x) + L", " + std::to_wstring(p.y) + L")"; }

void PointAt(POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  input.mi.dx = Normalised(at.x, left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  input.mi.dy = Normalised(at.y, top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  Send(input);
  // The move is delivered when the system has taken it, not when sent.
  if (!WaitUntil([&] { return CursorAt(at); }, 5000))
    std::fprintf(stderr, "the pointer did not reach (%ld, %ld)\n", at.x, at.y);
}

void PressButton() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  Send(input);
}

void ReleaseButton() {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  Send(input);
}

void ClickAt(POINT at) {
  PointAt(at);
  PressButton();
  ReleaseButton();
}

void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  for (const WORD vk : keys) key(vk, 0);
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) key(*it, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Activate(HWND window) {
  // In front, and its own thread has taken the activation, so that the keys
  // sent next reach it.
  const auto inFront = [&] { return GetForegroundWindow() == window && ThreadOf(window).hwndActive == window; };
  // The system lets the program that sent the last input set the foreground
  // window (a program started from a console may not otherwise): a move of
  // the pointer by nothing is such an input.
  INPUT nudge{};
  nudge.type = INPUT_MOUSE;
  nudge.mi.dwFlags = MOUSEEVENTF_MOVE;
  Send(nudge);
  SetForegroundWindow(window);
  if (WaitUntil(inFront, 1000)) return true;
  // The system may refuse a program the foreground; a click on the caption
  // (for the gadget, any point of its body) brings the window forward.
  const RECT rect = WindowRect(window);
  for (POINT at{(rect.left + rect.right) / 2, rect.top + 1}; at.y < rect.bottom; ++at.y) {
    if (HitTest(window, at) == HTCAPTION) {
      ClickAt(at);
      break;
    }
  }
  return WaitUntil(inFront, 3000);
}

std::optional<std::wstring> CoveredBy(HWND window) {
  const RECT r = WindowRect(window);
  for (int i = 0; i <= 4; ++i) {
    for (int j = 0; j <= 4; ++j) {
      const POINT at{r.left + 2 + (r.right - r.left - 5) * i / 4, r.top + 2 + (r.bottom - r.top - 5) * j / 4};
      const HWND there = GetAncestor(WindowFromPoint(at), GA_ROOT);
      if (there == window || !MonitorFromPoint(at, MONITOR_DEFAULTTONULL)) continue;
      wchar_t title[128] = L"", kind[128] = L"";
      GetWindowTextW(there, title, 128);
      GetClassNameW(there, kind, 128);
      return L"'" + std::wstring(title) + L"' of class " + kind + L" at " + PointText(at);
    }
  }
  return std::nullopt;
}

Cover::Cover(const RECT& area) {
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this, area, made] {
    window_ = zqtest::CreatePlainWindow({.className = L"ZqCover", .background = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                                         .x = area.left, .y = area.top, .width = area.right - area.left,
                                         .height = area.bottom - area.top, .exStyle = WS_EX_TOOLWINDOW});
    SetForegroundWindow(window_);
    threadId_ = GetCurrentThreadId();
    SetEvent(made);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(window_);
  });
  WaitForSingleObject(made, 10000);
  CloseHandle(made);
}

Cover::~Cover() {
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

std::optional<POINT> FindHit(HWND window, LRESULT wanted) {
  const RECT rect = WindowRect(window);
  // The caption's row first, then along it from the right.
  for (POINT row{(rect.left + rect.right) / 2, rect.top + 1}; row.y < rect.top + 64 && row.y < rect.bottom; ++row.y) {
    if (HitTest(window, row) != HTCAPTION) continue;
    for (POINT at{rect.right - 2, row.y}; at.x > rect.left; --at.x)
      if (HitTest(window, at) == wanted) return at;
    break;
  }
  return std::nullopt;
}

bool InMoveLoop(HWND window) { return (ThreadOf(window).flags & GUI_INMOVESIZE) != 0; }

bool OnWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

zqtest::Pixels ScreenPixels(const RECT& area) {
  // A program that is not DPI-aware sees the desktop's size divided by its
  // scale; the device itself tells the size in pixels.
  static const int scale = [] {
    const win32::WindowDcGuard screen(nullptr);
    return MulDiv(GetDeviceCaps(screen.dc(), DESKTOPHORZRES), 100, GetDeviceCaps(screen.dc(), HORZRES));
  }();
  if (scale != 100) {
    std::printf("skipped: the desktop is scaled to %d %%, so Windows stretches the gadget, which is not DPI-aware "
                "by design, and no pixel on the screen is the face as composed\n", scale);
    throw kSkipped;
  }
  return Grab(area);
}

bool SaveBitmap(const zqtest::Pixels& pixels, const std::wstring& file) {
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = pixels.width;
  info.biHeight = -pixels.height;  // top-down
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  std::vector<DWORD> rows(pixels.data.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const COLORREF c = pixels.data[i];
    rows[i] = (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
  }
  const DWORD bits = static_cast<DWORD>(rows.size() * sizeof(DWORD));
  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + bits;
  FILE* out = _wfopen(file.c_str(), L"wb");
  if (!out) return false;
  const bool written = std::fwrite(&header, sizeof header, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                       std::fwrite(rows.data(), bits, 1, out) == 1;
  return std::fclose(out) == 0 && written;
}

bool SaveScreenshot(const std::wstring& file) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screen{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  // As it is, scaled or not: the screenshot of a failure must not skip it.
  return SaveBitmap(Grab(screen), file);
}

}  // namespace e2e
