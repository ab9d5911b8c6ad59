// The gadget's persistent state in the current user's registry hive: the
// values under its own key, and the autostart value under the Run key.
// Every operation opens its key and closes it again; no handle is kept.
#pragma once

#include <windows.h>

#include <optional>

#include "handles.h"

namespace settings {

inline constexpr wchar_t kKeyPath[] = L"Software\\QUORVANE\\Zelvaquint\\1";
inline constexpr wchar_t kUserAgreement[] = L"UserAgreement";
inline constexpr wchar_t kPosX[] = L"PosX";
inline constexpr wchar_t kPosY[] = L"PosY";

inline constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kAutostartValue[] = L"Zelvaquint";

}  // namespace settings

// HKCU\Software\QUORVANE\Zelvaquint\1, created on first use. Open for the
// lifetime of one object, which is one reading or writing operation.
class SettingsKey {
 public:
  SettingsKey();

  bool IsOpen() const { return static_cast<bool>(key_); }

  // The value if it is a REG_DWORD that fits four bytes; nothing otherwise.
  std::optional<DWORD> ReadDword(const wchar_t* name) const;
  // Failures are ignored: the value is lost until the next write.
  void WriteDword(const wchar_t* name, DWORD value) const;

 private:
  win32::UniqueRegKey key_;
};

// HKCU\`path`, created if missing, open with `access`; empty when it cannot be opened.
win32::UniqueRegKey CreateUserKey(const wchar_t* path, REGSAM access = KEY_ALL_ACCESS);

// Adds (true) or removes (false) the "Zelvaquint" value under the user's Run
// key. The value holds the running executable's full path in double quotes.
void SetAutostart(bool enable);
