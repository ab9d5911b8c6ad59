// The settings store and the autostart entry against Wine's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "settings.h"
#include "support/zqtest.h"

namespace {

using zqtest::RawValue;
using zqtest::ReadRaw;

// Every test starts from a user hive without the gadget's key or Run value.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    zqtest::DeleteSettings();
    zqtest::DeleteValue(settings::kRunKeyPath, settings::kAutostartValue);
  }
};

// A folder with blanks in its name under the temp folder, this test's own,
// removed with what it holds at the end, pass or fail.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() / zqtest::ScratchName(L"Zelvaquint test")) {
    std::error_code error;
    ok_ = std::filesystem::create_directory(path_, error);
    // The temp folder may be named in short form; the copy is started by,
    // and so reads back, the long one.
    wchar_t full[MAX_PATH];
    const DWORD length = GetLongPathNameW(path_.c_str(), full, MAX_PATH);
    if (ok_ && length > 0 && length < MAX_PATH) path_ = full;
  }
  ~ScratchFolder() {
    std::error_code error;
    if (ok_) std::filesystem::remove_all(path_, error);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool ok() const { return ok_; }
  std::wstring path() const { return path_.wstring(); }

 private:
  std::filesystem::path path_;
  bool ok_ = false;
};

bool KeyExists() { return static_cast<bool>(zqtest::OpenUserKey(settings::kKeyPath, KEY_READ)); }

TEST_F(Registry, OpeningCreatesTheKeyEmpty) {
  ASSERT_FALSE(KeyExists());
  {
    SettingsKey key;
    EXPECT_TRUE(key.IsOpen());
    EXPECT_FALSE(key.ReadDword(settings::kUserAgreement));
    EXPECT_FALSE(key.ReadDword(settings::kPosX));
  }
  EXPECT_TRUE(KeyExists());
  EXPECT_FALSE(ReadRaw(settings::kKeyPath, settings::kPosY).present);
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
  const RawValue raw = ReadRaw(settings::kKeyPath, settings::kPosX);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(raw.data.size(), 4u);
}

TEST_F(Registry, ValuesOfTheWrongShapeCountAsMissing) {
  const wchar_t text[] = L"1";
  ASSERT_TRUE(zqtest::SeedValue(L"AsString", REG_SZ, text, sizeof text));
  const ULONGLONG wide = 5;
  ASSERT_TRUE(zqtest::SeedValue(L"AsQword", REG_QWORD, &wide, sizeof wide));
  ASSERT_TRUE(zqtest::SeedValue(L"LongDword", REG_DWORD, &wide, sizeof wide));  // REG_DWORD type, 8 bytes of data
  const DWORD small = 7;
  ASSERT_TRUE(zqtest::SeedValue(L"ShortQword", REG_QWORD, &small, sizeof small));  // 4 bytes, but not a REG_DWORD
  const WORD half = 9;
  ASSERT_TRUE(zqtest::SeedValue(L"ShortDword", REG_DWORD, &half, sizeof half));

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
  ASSERT_TRUE(zqtest::SeedValue(settings::kPosX, REG_SZ, text, sizeof text));
  SettingsKey key;
  key.WriteDword(settings::kPosX, 400);
  EXPECT_EQ(key.ReadDword(settings::kPosX), 400u);
  EXPECT_EQ(ReadRaw(settings::kKeyPath, settings::kPosX).type, static_cast<DWORD>(REG_DWORD));
}

TEST_F(Registry, AutostartHoldsTheQuotedModulePath) {
  SetAutostart(true);
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ASSERT_GT(length, 0u);

  const RawValue value = ReadRaw(settings::kRunKeyPath, settings::kAutostartValue);
  ASSERT_TRUE(value.present);
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  // Characters times two plus the terminating zero, quotes included.
  EXPECT_EQ(value.data.size(), (length + 2) * 2 + 2);
  EXPECT_EQ(value.AsString(), L"\"" + std::wstring(path, length) + L"\"" + std::wstring(1, L'\0'));
}

TEST_F(Registry, AutostartRemovalIsQuietAndIdempotent) {
  SetAutostart(false);  // nothing there: no effect
  EXPECT_FALSE(ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present);
  SetAutostart(true);
  SetAutostart(true);
  EXPECT_TRUE(ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present);
  SetAutostart(false);
  EXPECT_FALSE(ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present);
  SetAutostart(false);
  EXPECT_FALSE(ReadRaw(settings::kRunKeyPath, settings::kAutostartValue).present);
}

// Runs in a copy of this program placed in a folder with blanks in its name.
TEST_F(Registry, ChildWritesAutostart) {
  if (!std::getenv("ZQ_AUTOSTART_CHILD")) GTEST_SKIP() << "runs only as the child of the quoting test";
  SetAutostart(true);
}

TEST_F(Registry, AutostartQuotesAPathWithBlanks) {
  if (std::getenv("ZQ_AUTOSTART_CHILD")) GTEST_SKIP();
  const ScratchFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::wstring copy = folder.path() + L"\\settings test.exe";
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyFileW(self, copy.c_str(), FALSE));

  // The child shares this program's scratch user hive.
  SetEnvironmentVariableW(L"ZQ_AUTOSTART_CHILD", L"1");
  const std::unique_ptr<const wchar_t, void (*)(const wchar_t*)> unset(  // at the end, started or not
      L"ZQ_AUTOSTART_CHILD", [](const wchar_t* name) { SetEnvironmentVariableW(name, nullptr); });
  const zqtest::Program child(copy, {.arguments = L"--gtest_filter=Registry.ChildWritesAutostart"});
  const auto code = child.AwaitExit(60000);
  child.End(5000);  // ended either way, so that its folder can go
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);

  const RawValue value = ReadRaw(settings::kRunKeyPath, settings::kAutostartValue);
  ASSERT_TRUE(value.present);
  EXPECT_EQ(value.AsString(), L"\"" + copy + L"\"" + std::wstring(1, L'\0'));
}

}  // namespace
