// What the Windows test programs share: a scratch user hive, message
// pumping with a deadline, the one launcher of programs, a canvas whose
// pixels a test reads back, the face a font really got, the gadget's
// registry values, and plain windows of a class of their own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "handles.h"

namespace zqtest {

// --- Scratch user hive ------------------------------------------------------

// `stem`, a blank, this process's id and the time: a name for a scratch
// place of this program's own.
std::wstring ScratchName(const wchar_t* stem);

// Names the scratch key, under the real HKCU, that a program shares with
// whatever started it.
inline constexpr wchar_t kScratchHiveVariable[] = L"ZQ_SCRATCH_USER_HIVE";

// For its lifetime, this process's HKEY_CURRENT_USER is a fresh key of its
// own in the real hive, removed whole at the end: a test neither sees nor
// changes the person's own settings and autostart entry. Processes started
// meanwhile share it through kScratchHiveVariable. A program started with
// that variable set shares the key it names and leaves it to its owner.
// Every GoogleTest program of the Windows build gets one from the support
// library (scratch_hive_environment.cpp); other programs hold one in main.
class ScratchUserHive {
 public:
  ScratchUserHive();
  ~ScratchUserHive();
  ScratchUserHive(const ScratchUserHive&) = delete;
  ScratchUserHive& operator=(const ScratchUserHive&) = delete;

  // False when HKEY_CURRENT_USER is still the real hive.
  bool ok() const { return overridden_; }

 private:
  std::wstring path_;
  bool owned_ = false;
  bool overridden_ = false;
};

// --- Messages ---------------------------------------------------------------

enum class PointerMessages { Dispatch, Drop };

// Dispatches whatever is queued, without waiting. WM_QUIT, which a destroyed
// monitor window posts, is swallowed so that later pumping still works. With
// PointerMessages::Drop the system's own mouse messages are dropped, for
// programs that drive the pointer's messages themselves.
void DispatchPending(PointerMessages pointer = PointerMessages::Dispatch);
// Dispatches messages until `done` holds or `timeoutMs` has passed; true if it holds.
// It checks at any message and every `pollMs` at the most.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 10);
// The driver's wait: its checks read the screen, so every 20 ms is enough.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) { return PumpUntil(done, timeoutMs, 20); }
// Dispatches messages for the whole period (to show that nothing happens).
void PumpFor(DWORD ms);

// --- Programs ---------------------------------------------------------------

// How a Program starts. With `dll`, `prepare` or `job` it is held suspended
// until they are done, so that none of its own code runs before.
struct Launch {
  std::wstring arguments{};  // after the quoted program name
  std::wstring dll{};        // loaded into it by a thread of its own
  std::function<void(DWORD pid)> prepare{};
  bool job = false;  // it and whatever it starts end with the Program
  bool inheritStdHandles = false;  // it writes where this process does (a pipe, say)
};

// A program started by a test; the constructor throws std::runtime_error
// when it cannot start it.
class Program {
 public:
  explicit Program(const std::wstring& exe, const Launch& launch = {});
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }
  bool Running() const;
  // The exit code once it has ended within `timeoutMs`; nothing otherwise.
  std::optional<DWORD> AwaitExit(DWORD timeoutMs) const;
  // Ends it, with its job whatever it started; true once all are gone within `timeoutMs`.
  bool End(DWORD timeoutMs) const;

 private:
  win32::UniqueKernelHandle job_;
  win32::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// UTF-8, for messages.
std::string Utf8(const std::wstring& text);

// --- Pixels and faces -------------------------------------------------------

// A copy of pixels, row by row from the top, as COLORREFs.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> data;
  COLORREF At(int x, int y) const { return data[static_cast<std::size_t>(y * width + x)]; }
};

// A 32-bit top-down DIB section in a memory DC of its own, drawn into
// through dc() and read back directly.
class Canvas {
 public:
  Canvas(int width, int height);
  HDC dc() const { return surface_.dc(); }
  COLORREF At(int x, int y) const;
  Pixels Read() const;
  void Fill(COLORREF colour);
  // Copies a window's client area as it is on the screen now.
  void CopyFrom(HWND window);

  const int width;
  const int height;

 private:
  std::uint32_t* bits_ = nullptr;  // 0x00RRGGBB each
  win32::BitmapDc surface_;
};

// A text's ink: the pixels of `area` where `with` differs from `without`,
// the same picture drawn without the text. Font smoothing (ClearType by
// default on Windows) leaves few pixels, or none, of exactly the text's
// colour; each is still a blend of the pixel beneath and that colour.
struct Ink {
  int count = 0;
  int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;  // inclusive box
  int strong = 0;   // nearer the colour than the pixel beneath
  int foreign = 0;  // no blend of the pixel beneath and the colour
  double tint = 0;  // cosine of the ink's summed shift with the colour's
  bool empty() const { return count == 0; }
};
Ink InkOf(const Pixels& with, const Pixels& without, const RECT& area, COLORREF colour);
// Above it, ink is of the colour: smoothed or not, its own measured 0.999 and
// more, a colour with one channel 56 off 0.94.
inline constexpr double kOwnTint = 0.98;

// The module's bitmap resource `id` as pixels.
Pixels BitmapResourcePixels(UINT id);

// The face that `font` really gets when selected, which is not the face it
// asks for when that one is missing.
std::wstring RealFaceOf(HFONT font);

// --- Registry ---------------------------------------------------------------

// `root`\`path` opened with `access`, never created; empty on failure. The
// settings store's CreateUserKey creates keys.
win32::UniqueRegKey OpenKey(HKEY root, const wchar_t* path, REGSAM access);
inline win32::UniqueRegKey OpenUserKey(const wchar_t* path, REGSAM access) {
  return OpenKey(HKEY_CURRENT_USER, path, access);
}

// A value as the registry holds it.
struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
  // The data as UTF-16 code units, terminating zeros included.
  std::wstring AsString() const;
  bool operator==(const RawValue&) const = default;
};
// A value of HKCU\`path`, or of `root`\`path`.
RawValue ReadRaw(const wchar_t* path, const wchar_t* name, HKEY root = HKEY_CURRENT_USER);
// Every value of HKCU\`path` (or `root`\`path`) by name; nothing when there is no such key.
std::optional<std::map<std::wstring, RawValue>> ReadValues(const wchar_t* path, HKEY root = HKEY_CURRENT_USER);
// Removes a value of HKCU\`path`; false if there was none.
bool DeleteValue(const wchar_t* path, const wchar_t* name);

// The gadget's key, removed whole.
void DeleteSettings();
// Raw data of any type written straight into the gadget's key, which is created.
bool SeedValue(const wchar_t* name, DWORD type, const void* data, DWORD size);
bool SeedDword(const wchar_t* name, DWORD value);
// A REG_DWORD value of four bytes in the gadget's key, or nothing.
std::optional<DWORD> ReadDword(const wchar_t* name);

// --- Windows ----------------------------------------------------------------

// A top-level window for a test: a parent, a repaint target, a stand-in for a
// shell window. Its class is registered on first use.
struct PlainWindow {
  const wchar_t* className;
  WNDPROC procedure = DefWindowProcW;
  HBRUSH background = nullptr;
  int x = 0, y = 0, width = 100, height = 100;
  DWORD style = WS_POPUP | WS_VISIBLE;
  DWORD exStyle = 0;
};
// nullptr on failure.
HWND CreatePlainWindow(const PlainWindow& window);

using UniqueWindow = win32::UniqueHandle<HWND, ::DestroyWindow>;

}  // namespace zqtest
