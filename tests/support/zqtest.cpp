#include "support/zqtest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "settings.h"

namespace zqtest {

namespace {

HBITMAP CreateDib(int width, int height, std::uint32_t*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  const HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
  bits = static_cast<std::uint32_t*>(memory);
  return dib;
}

constexpr COLORREF ToColorref(std::uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

}  // namespace

std::wstring ScratchName(const wchar_t* stem) {
  return std::wstring(stem) + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount64());
}

ScratchUserHive::ScratchUserHive() {
  wchar_t shared[256];
  const DWORD length = GetEnvironmentVariableW(kScratchHiveVariable, shared, std::size(shared));
  if (length > 0 && length < std::size(shared)) {
    path_ = shared;
  } else {
    // Not volatile, which would go even after a crash: a volatile key takes
    // only volatile subkeys, and the settings store creates lasting ones.
    path_ = L"Software\\" + ScratchName(L"Zelvaquint test hive");
    owned_ = true;
  }
  const win32::UniqueRegKey key = CreateUserKey(path_.c_str());
  if (!key) {
    owned_ = false;
    return;
  }
  // The override holds a duplicate of the handle.
  overridden_ = RegOverridePredefKey(HKEY_CURRENT_USER, key.get()) == ERROR_SUCCESS;
  if (owned_ && overridden_) SetEnvironmentVariableW(kScratchHiveVariable, path_.c_str());
}

ScratchUserHive::~ScratchUserHive() {
  // Back to the real hive first, or the path would name a key inside the scratch one.
  if (overridden_) RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  if (!owned_) return;
  SetEnvironmentVariableW(kScratchHiveVariable, nullptr);
  RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

void DispatchPending(PointerMessages pointer) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (pointer == PointerMessages::Drop && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    // Wakes for any message; the cap keeps conditions that no message
    // announces (registry values, pixels) checked often.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(end - now, pollMs)),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

Program::Program(const std::wstring& exe, const Launch& launch) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!launch.arguments.empty()) commandLine += L" " + launch.arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (launch.inheritStdHandles) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (const HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
      if (h && h != INVALID_HANDLE_VALUE) SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  const bool hold = launch.job || !launch.dll.empty() || launch.prepare;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, launch.inheritStdHandles,
                      hold ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &started))
    throw std::runtime_error("cannot start " + Utf8(exe) + ", error " + std::to_string(GetLastError()));
  process_.reset(started.hProcess);
  const win32::UniqueKernelHandle thread(started.hThread);
  id_ = started.dwProcessId;
  if (launch.job) {
    job_.reset(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_) SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    if (job_) AssignProcessToJobObject(job_.get(), process_.get());
  }
  if (launch.prepare) launch.prepare(id_);
  if (!launch.dll.empty()) {
    // A thread of the program's own runs LoadLibraryW, whose address is ours, on the name.
    const SIZE_T bytes = (launch.dll.size() + 1) * sizeof(wchar_t);
    void* name = VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    DWORD loaded = 0;
    if (name && WriteProcessMemory(process_.get(), name, launch.dll.c_str(), bytes, nullptr)) {
      const win32::UniqueKernelHandle loader(CreateRemoteThread(process_.get(), nullptr, 0, load, name, 0, nullptr));
      if (loader && WaitForSingleObject(loader.get(), 30000) == WAIT_OBJECT_0) GetExitCodeThread(loader.get(), &loaded);
    }
    if (!loaded) {
      TerminateProcess(process_.get(), 1);
      throw std::runtime_error("cannot load " + Utf8(launch.dll) + " into " + Utf8(exe));
    }
  }
  if (hold) ResumeThread(thread.get());
}

bool Program::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Program::AwaitExit(DWORD timeoutMs) const {
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool Program::End(DWORD timeoutMs) const {
  if (!job_) {
    TerminateProcess(process_.get(), 1);
    return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
  }
  TerminateJobObject(job_.get(), 1);
  return WaitUntil(
      [&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
        return QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &accounting,
                                         sizeof accounting, nullptr) &&
               accounting.ActiveProcesses == 0;
      },
      timeoutMs);
}

Canvas::Canvas(int width, int height)
    : width(width), height(height), surface_(nullptr, CreateDib(width, height, bits_)) {}

COLORREF Canvas::At(int x, int y) const {
  GdiFlush();
  return ToColorref(bits_[y * width + x]);
}

Pixels Canvas::Read() const {
  GdiFlush();
  Pixels p{width, height, std::vector<COLORREF>(static_cast<std::size_t>(width * height))};
  if (bits_) std::transform(bits_, bits_ + p.data.size(), p.data.begin(), ToColorref);
  return p;
}

void Canvas::Fill(COLORREF colour) {
  GdiFlush();
  std::fill_n(bits_, width * height, (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour));
}

void Canvas::CopyFrom(HWND window) {
  const win32::WindowDcGuard screen(window);
  BitBlt(dc(), 0, 0, width, height, screen.dc(), 0, 0, SRCCOPY);
}

Ink InkOf(const Pixels& with, const Pixels& without, const RECT& area, COLORREF colour) {
  constexpr int kRounding = 2;  // a blend may round past either end
  Ink ink;
  double shifted[3] = {}, full[3] = {};  // per channel: the ink's shift from beneath, and the colour's
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = with.At(x, y), under = without.At(x, y);
      if (c == under) continue;
      ++ink.count;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
      int toColour = 0, toUnder = 0;
      bool blend = true;
      for (int k = 0; k < 3; ++k) {
        const int v = (c >> 8 * k) & 0xFF, t = (colour >> 8 * k) & 0xFF, u = (under >> 8 * k) & 0xFF;
        toColour += std::abs(v - t);
        toUnder += std::abs(v - u);
        blend = blend && v >= std::min(t, u) - kRounding && v <= std::max(t, u) + kRounding;
        shifted[k] += v - u;
        full[k] += t - u;
      }
      ink.strong += toColour < toUnder;
      ink.foreign += !blend;
    }
  }
  const auto dot = [](const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const double norms = dot(shifted, shifted) * dot(full, full);
  ink.tint = norms > 0 ? dot(shifted, full) / std::sqrt(norms) : 0;
  return ink;
}

Pixels BitmapResourcePixels(UINT id) {
  const auto bitmap = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  const win32::BitmapDc source(nullptr, bitmap);
  BITMAP info{};
  GetObjectW(source.bitmap(), sizeof info, &info);
  Canvas canvas(info.bmWidth, info.bmHeight);
  BitBlt(canvas.dc(), 0, 0, info.bmWidth, info.bmHeight, source.dc(), 0, 0, SRCCOPY);
  return canvas.Read();
}

std::wstring RealFaceOf(HFONT font) {
  const win32::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  const win32::SelectionGuard selected(dc.get(), font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.get(), LF_FACESIZE, face);
  return face;
}

win32::UniqueRegKey OpenKey(HKEY root, const wchar_t* path, REGSAM access) {
  win32::UniqueRegKey key;
  if (RegOpenKeyExW(root, path, 0, access, key.put()) != ERROR_SUCCESS) key.reset();
  return key;
}

std::wstring RawValue::AsString() const {
  return std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
}

RawValue ReadRaw(const wchar_t* path, const wchar_t* name, HKEY root) {
  RawValue v;
  const win32::UniqueRegKey key = OpenKey(root, path, KEY_READ);
  DWORD size = 0;
  if (key && RegQueryValueExW(key.get(), name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
    v.data.resize(size);
    v.present = RegQueryValueExW(key.get(), name, nullptr, &v.type, v.data.data(), &size) == ERROR_SUCCESS;
  }
  return v;
}

std::optional<std::map<std::wstring, RawValue>> ReadValues(const wchar_t* path, HKEY root) {
  const win32::UniqueRegKey key = OpenKey(root, path, KEY_READ);
  if (!key) return std::nullopt;
  DWORD count = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  std::map<std::wstring, RawValue> values;
  for (DWORD i = 0; i < count; ++i) {
    std::wstring name(longestName + 1, L'\0');
    DWORD nameLength = longestName + 1;
    RawValue v;
    v.data.resize(longestData);
    DWORD size = longestData;
    if (RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &v.type, v.data.data(), &size) !=
        ERROR_SUCCESS)
      continue;
    name.resize(nameLength);
    v.data.resize(size);
    v.present = true;
    values.emplace(std::move(name), std::move(v));
  }
  return values;
}

bool DeleteValue(const wchar_t* path, const wchar_t* name) {
  return RegDeleteKeyValueW(HKEY_CURRENT_USER, path, name) == ERROR_SUCCESS;
}

void DeleteSettings() { RegDeleteTreeW(HKEY_CURRENT_USER, settings::kKeyPath); }

bool SeedValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, settings::kKeyPath, name, type, data, size) == ERROR_SUCCESS;
}

bool SeedDword(const wchar_t* name, DWORD value) { return SeedValue(name, REG_DWORD, &value, sizeof value); }

std::optional<DWORD> ReadDword(const wchar_t* name) {
  const RawValue v = ReadRaw(settings::kKeyPath, name);
  DWORD value = 0;
  if (!v.present || v.type != REG_DWORD || v.data.size() != sizeof value) return std::nullopt;
  std::memcpy(&value, v.data.data(), sizeof value);
  return value;
}

HWND CreatePlainWindow(const PlainWindow& window) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = window.procedure;
  wc.hInstance = instance;
  wc.lpszClassName = window.className;
  wc.hbrBackground = window.background;
  RegisterClassW(&wc);  // fails from the second window of the class on, which is fine
  return CreateWindowExW(window.exStyle, window.className, L"", window.style, window.x, window.y, window.width,
                         window.height, nullptr, nullptr, instance, nullptr);
}

}  // namespace zqtest
