#include "user_state.h"

#include <cstring>

#include "handles.h"
#include "settings.h"

namespace e2e {

namespace {

struct TreePlace {
  HKEY root;
  const wchar_t* path;
};
// Wine looks up http handlers among the machine's classes only, so the
// donation scenario plants its handler there under Wine.
const TreePlace kTrees[] = {{HKEY_CURRENT_USER, L"Software\\QUORVANE"},
                            {HKEY_CURRENT_USER, L"Software\\Classes\\http"},
                            {HKEY_LOCAL_MACHINE, L"Software\\Classes\\http"}};

win32::UniqueRegKey Open(HKEY parent, const std::wstring& path) {
  win32::UniqueRegKey key;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
  return key;
}

std::optional<RegValue> ReadValue(HKEY key, const std::wstring& name) {
  RegValue value{name, 0, {}};
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  value.data.resize(size);
  if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.data.resize(size);
  return value;
}

RegTree ReadTree(HKEY parent, const std::wstring& path) {
  RegTree tree;
  const win32::UniqueRegKey key = Open(parent, path);
  if (!key) return tree;
  tree.present = true;
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384;
    if (RegEnumValueW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (auto value = ReadValue(key.get(), std::wstring(name, length))) tree.values.push_back(std::move(*value));
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::wstring subkey(name, length);
    tree.subkeys.emplace_back(subkey, ReadTree(key.get(), subkey));
  }
  return tree;
}

void WriteTree(HKEY parent, const std::wstring& path, const RegTree& tree) {
  win32::UniqueRegKey key;
  if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    return;
  for (const RegValue& v : tree.values)
    RegSetValueExW(key.get(), v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
  for (const auto& [name, subtree] : tree.subkeys) WriteTree(key.get(), name, subtree);
}

// A plain byte stream: counts and sizes as DWORDs, strings as UTF-16.
class Writer {
 public:
  void Dword(DWORD v) { Bytes(&v, sizeof v); }
  void Bytes(const void* data, std::size_t size) {
    const std::size_t at = out.size();
    out.resize(at + size);
    if (size > 0) std::memcpy(out.data() + at, data, size);
  }
  void Blob(const std::vector<BYTE>& data) {
    Dword(static_cast<DWORD>(data.size()));
    Bytes(data.data(), data.size());
  }
  void Text(const std::wstring& text) {
    Dword(static_cast<DWORD>(text.size()));
    Bytes(text.data(), text.size() * sizeof(wchar_t));
  }
  void Value(const RegValue& v) {
    Text(v.name);
    Dword(v.type);
    Blob(v.data);
  }
  void Tree(const RegTree& tree) {
    Dword(tree.present);
    Dword(static_cast<DWORD>(tree.values.size()));
    for (const RegValue& v : tree.values) Value(v);
    Dword(static_cast<DWORD>(tree.subkeys.size()));
    for (const auto& [name, subtree] : tree.subkeys) {
      Text(name);
      Tree(subtree);
    }
  }
  std::vector<BYTE> out;
};

class Reader {
 public:
  explicit Reader(const std::vector<BYTE>& bytes) : in_(bytes) {}
  bool ok() const { return ok_; }
  bool AtEnd() const { return at_ == in_.size(); }
  DWORD Dword() {
    DWORD v = 0;
    Bytes(&v, sizeof v);
    return v;
  }
  void Bytes(void* data, std::size_t size) {
    if (!ok_ || in_.size() - at_ < size) {
      ok_ = false;
      return;
    }
    std::memcpy(data, in_.data() + at_, size);
    at_ += size;
  }
  std::vector<BYTE> Blob() {
    std::vector<BYTE> data(Count(1));
    Bytes(data.data(), data.size());
    return data;
  }
  std::wstring Text() {
    std::wstring text(Count(sizeof(wchar_t)), L'\0');
    Bytes(text.data(), text.size() * sizeof(wchar_t));
    return text;
  }
  RegValue Value() {
    RegValue v;
    v.name = Text();
    v.type = Dword();
    v.data = Blob();
    return v;
  }
  RegTree Tree() {
    RegTree tree;
    tree.present = Dword() != 0;
    for (DWORD n = Count(1); ok_ && n > 0; --n) tree.values.push_back(Value());
    for (DWORD n = Count(1); ok_ && n > 0; --n) {
      std::wstring name = Text();
      tree.subkeys.emplace_back(std::move(name), Tree());
    }
    return tree;
  }

 private:
  // A count that the remaining bytes can hold, at `unit` bytes an item.
  DWORD Count(std::size_t unit) {
    const DWORD n = Dword();
    if (n > (in_.size() - at_) / unit) ok_ = false;
    return ok_ ? n : 0;
  }
  const std::vector<BYTE>& in_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

UserState UserState::Read() {
  UserState state;
  for (const TreePlace& place : kTrees) state.trees_.push_back(ReadTree(place.root, place.path));
  if (const auto run = Open(HKEY_CURRENT_USER, settings::kRunKeyPath))
    state.run_ = ReadValue(run.get(), settings::kAutostartValue);
  return state;
}

void UserState::Restore() const {
  // Only what changed is touched: a tree the scenario left alone, the
  // machine's above all, is not rewritten.
  for (std::size_t i = 0; i < trees_.size() && i < std::size(kTrees); ++i) {
    const TreePlace& place = kTrees[i];
    if (ReadTree(place.root, place.path) == trees_[i]) continue;
    RegDeleteTreeW(place.root, place.path);
    if (trees_[i].present) WriteTree(place.root, place.path, trees_[i]);
  }
  const auto run = Open(HKEY_CURRENT_USER, settings::kRunKeyPath);
  if (run && ReadValue(run.get(), settings::kAutostartValue) == run_) return;
  if (run_) {
    RegSetKeyValueW(HKEY_CURRENT_USER, settings::kRunKeyPath, run_->name.c_str(), run_->type, run_->data.data(),
                    static_cast<DWORD>(run_->data.size()));
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, settings::kRunKeyPath, settings::kAutostartValue);
  }
}

std::vector<BYTE> UserState::Serialize() const {
  Writer w;
  w.Dword(static_cast<DWORD>(trees_.size()));
  for (const RegTree& tree : trees_) w.Tree(tree);
  w.Dword(run_.has_value());
  if (run_) w.Value(*run_);
  return w.out;
}

std::optional<UserState> UserState::Deserialize(const std::vector<BYTE>& bytes) {
  Reader r(bytes);
  UserState state;
  const DWORD trees = r.Dword();
  if (trees != std::size(kTrees)) return std::nullopt;
  for (DWORD i = 0; i < trees && r.ok(); ++i) state.trees_.push_back(r.Tree());
  if (r.Dword() != 0) state.run_ = r.Value();
  if (!r.ok() || !r.AtEnd()) return std::nullopt;
  return state;
}

}  // namespace e2e
