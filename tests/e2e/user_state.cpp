#include "user_state.h"

#include <map>
#include <string>

#include "handles.h"
#include "settings.h"
#include "support/zqtest.h"

namespace e2e {

namespace {

struct TreePlace {
  HKEY root;
  const wchar_t* path;
  const wchar_t* copy;  // its copy's key in the backup
};
// Wine looks up http handlers among the machine's classes only, so the
// donation scenario plants its handler there under Wine.
const TreePlace kTrees[] = {{HKEY_CURRENT_USER, L"Software\\QUORVANE", L"QUORVANE"},
                            {HKEY_CURRENT_USER, L"Software\\Classes\\http", L"user http"},
                            {HKEY_LOCAL_MACHINE, L"Software\\Classes\\http", L"machine http"}};
// Values of the backup key itself: the Run value's copy, and the mark, set
// last, that the backup is whole.
constexpr wchar_t kRunCopy[] = L"Run";
constexpr wchar_t kWhole[] = L"Whole";

// Each key of a tree by its path below the tree's top ("" for the top), with
// its values; empty when there is no tree.
using Tree = std::map<std::wstring, std::map<std::wstring, zqtest::RawValue>>;

void ReadTree(HKEY parent, const wchar_t* path, const std::wstring& below, Tree& tree) {
  const win32::UniqueRegKey key = zqtest::OpenKey(parent, path, KEY_READ);
  if (!key) return;
  tree[below] = zqtest::ReadValues(L"", key.get()).value_or(Tree::mapped_type{});
  wchar_t name[256];
  for (DWORD i = 0, length = 256;
       RegEnumKeyExW(key.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = 256)
    ReadTree(key.get(), name, below + L"\\" + name, tree);
}

Tree ReadTree(HKEY parent, const wchar_t* path) {
  Tree tree;
  ReadTree(parent, path, L"", tree);
  return tree;
}

// The registry's own copy of the tree `from`\`fromPath` as `to`\`toPath`.
bool CopyTree(HKEY from, const wchar_t* fromPath, HKEY to, const wchar_t* toPath) {
  win32::UniqueRegKey copy;
  return RegCreateKeyExW(to, toPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, copy.put(), nullptr) == ERROR_SUCCESS &&
         RegCopyTreeW(from, fromPath, copy.get()) == ERROR_SUCCESS;
}

bool SetValue(HKEY key, const wchar_t* path, const wchar_t* name, const zqtest::RawValue& v) {
  return RegSetKeyValueW(key, path, name, v.type, v.data.data(), static_cast<DWORD>(v.data.size())) == ERROR_SUCCESS;
}

zqtest::RawValue RunValue() { return zqtest::ReadRaw(settings::kRunKeyPath, settings::kAutostartValue); }

}  // namespace

bool UserStateKept() { return zqtest::ReadRaw(kBackupPath, kWhole).present; }

bool KeepUserState() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kBackupPath);  // a backup cut short, if any
  win32::UniqueRegKey backup;
  bool kept = RegCreateKeyExW(HKEY_CURRENT_USER, kBackupPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, backup.put(),
                              nullptr) == ERROR_SUCCESS;
  // An absent tree has no copy, an empty one an empty copy.
  for (const TreePlace& place : kTrees)
    if (kept && zqtest::OpenKey(place.root, place.path, KEY_READ))
      kept = CopyTree(place.root, place.path, backup.get(), place.copy);
  const zqtest::RawValue run = RunValue();
  kept = kept && (!run.present || SetValue(backup.get(), nullptr, kRunCopy, run));
  kept = kept && SetValue(backup.get(), nullptr, kWhole, {true, REG_DWORD, {1, 0, 0, 0}});
  if (!kept) RegDeleteTreeW(HKEY_CURRENT_USER, kBackupPath);
  return kept;
}

bool RestoreUserState() {
  const win32::UniqueRegKey backup = zqtest::OpenUserKey(kBackupPath, KEY_READ);
  if (!backup) return false;
  bool back = true;
  // Only what changed is touched: a tree the scenario left alone, the
  // machine's above all, is not rewritten.
  for (const TreePlace& place : kTrees) {
    const Tree kept = ReadTree(backup.get(), place.copy);
    if (ReadTree(place.root, place.path) == kept) continue;
    RegDeleteTreeW(place.root, place.path);
    if (!kept.empty()) CopyTree(backup.get(), place.copy, place.root, place.path);
    back = back && ReadTree(place.root, place.path) == kept;
  }
  const zqtest::RawValue run = zqtest::ReadRaw(kBackupPath, kRunCopy);
  if (RunValue() != run) {
    if (run.present) {
      SetValue(HKEY_CURRENT_USER, settings::kRunKeyPath, settings::kAutostartValue, run);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, settings::kRunKeyPath, settings::kAutostartValue);
    }
    back = back && RunValue() == run;
  }
  if (back) RegDeleteTreeW(HKEY_CURRENT_USER, kBackupPath);
  return back;
}

}  // namespace e2e
