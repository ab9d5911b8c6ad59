// The user's own registry values that a scenario lets the gadget change:
// everything under HKCU\Software\QUORVANE, the "Zelvaquint" value of the Run
// key, and the http class (the user's, and under Wine the machine's), where
// the donation scenario plants its stand-in browser. Read before a scenario and put back byte for byte after
// it; kept in a file meanwhile, so that a run that was killed is mended by
// the next one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct RegValue {
  std::wstring name;
  DWORD type = 0;
  std::vector<BYTE> data;
  bool operator==(const RegValue&) const = default;
};

struct RegTree {
  bool present = false;
  std::vector<RegValue> values;
  std::vector<std::pair<std::wstring, RegTree>> subkeys;
  bool operator==(const RegTree&) const = default;
};

class UserState {
 public:
  static UserState Read();
  // Puts every tree and the value back as they were read: what was added
  // goes, what was changed or removed returns.
  void Restore() const;

  std::vector<BYTE> Serialize() const;
  static std::optional<UserState> Deserialize(const std::vector<BYTE>& bytes);
  bool operator==(const UserState&) const = default;

 private:
  std::vector<RegTree> trees_;  // one per entry of kTrees
  std::optional<RegValue> run_;
};

}  // namespace e2e
