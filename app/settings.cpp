#include "settings.h"

#include <string>

win32::UniqueRegKey CreateUserKey(const wchar_t* path, REGSAM access) {
  win32::UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, access, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return {};
  return key;
}

SettingsKey::SettingsKey() : key_(CreateUserKey(settings::kKeyPath)) {}

std::optional<DWORD> SettingsKey::ReadDword(const wchar_t* name) const {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  // A value longer than four bytes fails with ERROR_MORE_DATA and counts as missing.
  if (RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

void SettingsKey::WriteDword(const wchar_t* name, DWORD value) const {
  if (!key_) return;
  RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

namespace {

// Room for paths far beyond MAX_PATH. The call is told of 20 characters less
// than the buffer holds, so the buffer's end is never written.
constexpr DWORD kPathBufferChars = 5120;
constexpr DWORD kPathQueryChars = kPathBufferChars - 20;

// The executable's path in quotes, or nothing when it cannot be read whole:
// a cut-off path would start some other program at logon.
std::optional<std::wstring> QuotedModulePath() {
  std::wstring path(kPathBufferChars, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), kPathQueryChars);
  if (length == 0 || length >= kPathQueryChars) return std::nullopt;
  path.resize(length);
  // Unquoted, a path with a blank lets Windows start C:\Program.exe instead.
  return L"\"" + path + L"\"";
}

}  // namespace

void SetAutostart(bool enable) {
  const win32::UniqueRegKey run = CreateUserKey(settings::kRunKeyPath);
  if (!run) return;
  if (!enable) {
    RegDeleteValueW(run.get(), settings::kAutostartValue);
  } else if (const auto command = QuotedModulePath()) {
    const DWORD bytes = static_cast<DWORD>((command->size() + 1) * sizeof(wchar_t));
    RegSetValueExW(run.get(), settings::kAutostartValue, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(command->c_str()), bytes);
  }
}
