// Every GoogleTest program of the Windows build runs its tests in a scratch
// user hive, and fails if the person's own gadget key or autostart entry is
// not byte for byte what it was before. Nothing refers to this file: it is
// linked as objects of its own, not from the support library's archive.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "settings.h"
#include "support/zqtest.h"

namespace {

// What the real hive holds of the gadget: its key's values, and its Run value.
struct GadgetSettings {
  std::optional<std::map<std::wstring, zqtest::RawValue>> key;
  zqtest::RawValue run;
  bool operator==(const GadgetSettings&) const = default;
};

GadgetSettings ReadGadgetSettings() {
  return {zqtest::ReadValues(settings::kKeyPath), zqtest::ReadRaw(settings::kRunKeyPath, settings::kAutostartValue)};
}

// Printable ASCII as it is, the rest as \uXXXX.
std::string Narrow(std::wstring_view text) {
  std::string s;
  for (const wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      s += static_cast<char>(c);
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      s += escape;
    }
  }
  return s;
}

std::string Describe(std::wstring_view name, const zqtest::RawValue& v) {
  std::string s = "  " + Narrow(name);
  if (!v.present) return s + ": none\n";
  s += ": type " + std::to_string(v.type) + ",";
  if (v.type == REG_SZ) return s + " \"" + Narrow(v.AsString().c_str()) + "\"\n";
  for (const BYTE b : v.data) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", b);
    s += hex;
  }
  return s + "\n";
}

std::string Describe(const GadgetSettings& s) {
  std::string text = "HKCU\\" + Narrow(settings::kKeyPath) + "\n";
  if (!s.key) {
    text += "  no such key\n";
  } else if (s.key->empty()) {
    text += "  no values\n";
  } else {
    for (const auto& [name, value] : *s.key) text += Describe(name, value);
  }
  return text + "HKCU\\" + Narrow(settings::kRunKeyPath) + "\n" + Describe(settings::kAutostartValue, s.run);
}

class ScratchHiveEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    before_ = ReadGadgetSettings();
    hive_.emplace();
    // Fatal here, so that no test runs against the real hive.
    ASSERT_TRUE(hive_->ok()) << "HKEY_CURRENT_USER could not be redirected to a scratch key";
  }

  void TearDown() override {
    hive_.reset();
    const GadgetSettings after = ReadGadgetSettings();
    EXPECT_TRUE(after == before_) << "the tests changed the user's own settings\nbefore:\n"
                                  << Describe(before_) << "after:\n"
                                  << Describe(after);
  }

 private:
  GadgetSettings before_;
  std::optional<zqtest::ScratchUserHive> hive_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ScratchHiveEnvironment);

}  // namespace
