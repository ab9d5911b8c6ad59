// The settings store and the autostart entry against Wine's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "settings.h"

namespace {

// Every test starts from a user hive without the gadget's key or Run value.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kKeyPath);
    RemoveRunValue();
  }

  static void RemoveRunValue() {
    HKEY run;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settings::kRunKeyPath, 0, KEY_SET_VALUE, &run) == 0) {
      RegDeleteValueW(run, settings::kAutostartValue);
      RegCloseKey(run);
    }
  }

  static bool KeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, settings::kKeyPath, 0, KEY_READ, &key) != 0) return false;
    RegCloseKey(key);
    return true;
  }

  // Writes raw data of any type straight into the gadget's key.
  static void Seed(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, settings::kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              0);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), 0);
    RegCloseKey(key);
  }

  struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };
  static RawValue Raw(const wchar_t* path, const wchar_t* name) {
    RawValue v;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != 0) return v;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &size) == 0) {
      v.data.resize(size);
      v.present = RegQueryValueExW(key, name, nullptr, &v.type, v.data.data(), &size) == 0;
    }
    RegCloseKey(key);
    return v;
  }

  static std::wstring AsString(const RawValue& v) {
    return std::wstring(reinterpret_cast<const wchar_t*>(v.data.data()), v.data.size() / 2);
  }
};

TEST_F(Registry, OpeningCreatesTheKeyEmpty) {
  ASSERT_FALSE(KeyExists());
  {
    SettingsKey key;
    EXPECT_TRUE(key.IsOpen());
    EXPECT_FALSE(key.ReadDword(settings::kUserAgreement));
    EXPECT_FALSE(key.ReadDword(settings::kPosX));
  }
  EXPECT_TRUE(KeyExists());
  EXPECT_FALSE(Raw(settings::kKeyPath, settings::kPosY).present);
}

TEST_F(Registry, DwordsRoundTripAndNegativePositionsReadSigned) {
  {
    SettingsKey key;
    key.WriteDword(settings::kPosX, static_cast<DWORD>(-100));
    key.WriteDword(settings::kPosY, 357);
    key.WriteDword(settings::kUserAgreement, 1);
  }
  SettingsKey key;
  EXPECT_EQ(static_cast<LONG>(*key.ReadDword(settings::kPosX)), -100);
  EXPECT_EQ(key.ReadDword(settings::kPosY), 357u);
  EXPECT_EQ(key.ReadDword(settings::kUserAgreement), 1u);
  const RawValue raw = Raw(settings::kKeyPath, settings::kPosX);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(raw.data.size(), 4u);
}

TEST_F(Registry, ValuesOfTheWrongShapeCountAsMissing) {
  const wchar_t text[] = L"1";
  Seed(L"AsString", REG_SZ, text, sizeof text);
  const ULONGLONG wide = 5;
  Seed(L"AsQword", REG_QWORD, &wide, sizeof wide);
  Seed(L"LongDword", REG_DWORD, &wide, sizeof wide);  // REG_DWORD type, 8 bytes of data
  const DWORD small = 7;
  Seed(L"ShortQword", REG_QWORD, &small, sizeof small);  // 4 bytes, but not a REG_DWORD
  const WORD half = 9;
  Seed(L"ShortDword", REG_DWORD, &half, sizeof half);

  SettingsKey key;
  EXPECT_FALSE(key.ReadDword(L"AsString"));
  EXPECT_FALSE(key.ReadDword(L"AsQword"));
  EXPECT_FALSE(key.ReadDword(L"LongDword"));
  EXPECT_FALSE(key.ReadDword(L"ShortQword"));
  EXPECT_FALSE(key.ReadDword(L"ShortDword"));
  EXPECT_FALSE(key.ReadDword(L"NotThere"));
}

TEST_F(Registry, AWriteReplacesAValueOfAnotherType) {
  const wchar_t text[] = L"400";
  Seed(settings::kPosX, REG_SZ, text, sizeof text);
  SettingsKey key;
  key.WriteDword(settings::kPosX, 400);
  EXPECT_EQ(key.ReadDword(settings::kPosX), 400u);
  EXPECT_EQ(Raw(settings::kKeyPath, settings::kPosX).type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(Registry, AutostartHoldsTheQuotedModulePath) {
  SetAutostart(true);
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ASSERT_GT(length, 0u);

  const RawValue value = Raw(settings::kRunKeyPath, settings::kAutostartValue);
  ASSERT_TRUE(value.present);
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  // Characters times two plus the terminating zero, quotes included.
  EXPECT_EQ(value.data.size(), (length + 2) * 2 + 2);
  EXPECT_EQ(AsString(value), L"\"" + std::wstring(path, length) + L"\"" + std::wstring(1, L'\0'));
}

TEST_F(Registry, AutostartRemovalIsQuietAndIdempotent) {
  SetAutostart(false);  // nothing there: no effect
  EXPECT_FALSE(Raw(settings::kRunKeyPath, settings::kAutostartValue).present);
  SetAutostart(true);
  SetAutostart(true);
  EXPECT_TRUE(Raw(settings::kRunKeyPath, settings::kAutostartValue).present);
  SetAutostart(false);
  EXPECT_FALSE(Raw(settings::kRunKeyPath, settings::kAutostartValue).present);
  SetAutostart(false);
  EXPECT_FALSE(Raw(settings::kRunKeyPath, settings::kAutostartValue).present);
}

// Runs in a copy of this program placed in a folder with blanks in its name.
TEST_F(Registry, ChildWritesAutostart) {
  if (!std::getenv("ZQ_AUTOSTART_CHILD")) GTEST_SKIP() << "runs only as the child of the quoting test";
  SetAutostart(true);
}

TEST_F(Registry, AutostartQuotesAPathWithBlanks) {
  if (std::getenv("ZQ_AUTOSTART_CHILD")) GTEST_SKIP();
  const std::wstring folder = L"C:\\Program Files\\Zelvaquint Test";
  const std::wstring copy = folder + L"\\settings test.exe";
  CreateDirectoryW(folder.c_str(), nullptr);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));

  SetEnvironmentVariableW(L"ZQ_AUTOSTART_CHILD", L"1");
  std::wstring command = L"\"" + copy + L"\" --gtest_filter=Registry.ChildWritesAutostart";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  SetEnvironmentVariableW(L"ZQ_AUTOSTART_CHILD", nullptr);
  ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(code, 0u);

  const RawValue value = Raw(settings::kRunKeyPath, settings::kAutostartValue);
  ASSERT_TRUE(value.present);
  EXPECT_EQ(AsString(value), L"\"" + copy + L"\"" + std::wstring(1, L'\0'));
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
