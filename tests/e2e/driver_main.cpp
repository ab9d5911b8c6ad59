// zq_e2e SCENARIO GADGET_EXE [URL_HANDLER_EXE]: runs one end-to-end scenario
// on the real gadget, on the desktop and in the user's registry hive, which
// the real program must be free to write. The user's own values come back
// byte for byte afterwards: this process keeps them, runs the scenario in a
// child process inside a job, ends whatever the scenario left running, and
// puts them back, whether the scenario passed, failed, crashed or hung. A
// run killed before that is mended by the next one from the backup it left.
// Exit code: 0 passed, 1 failed, 77 skipped, 2 misused.
#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "desktop.h"
#include "scenarios.h"
#include "user_state.h"

namespace {

// The child: one scenario, its verdicts on standard output.
int RunScenario(const std::wstring& name, const std::wstring& gadget, const std::wstring& helper) {
  for (const auto& entry : e2e::Scenarios()) {
    if (name != entry.name) continue;
    e2e::Scenario scenario(name, e2e::WindowsPath(gadget), helper.empty() ? L"" : e2e::WindowsPath(helper));
    try {
      entry.run(scenario);
    } catch (const e2e::Abort&) {
    } catch (int code) {
      if (scenario.failures() == 0) return code;  // kSkipped; a check failed before, it fails
    } catch (const std::exception& e) {
      scenario.Check(false, L"the scenario runs to its end (" + std::wstring(e.what(), e.what() + strlen(e.what())) + L")");
    }
    if (scenario.failures() == 0) {
      std::printf("scenario passed\n");
      return 0;
    }
    std::printf("scenario failed: %d check(s)\n", scenario.failures());
    return 1;
  }
  std::fprintf(stderr, "zq_e2e: no scenario named %ls\n", name.c_str());
  return 2;
}

// The parent: the user's values kept, the child run in a job, the values back.
int RunGuarded(const std::wstring& arguments, const std::wstring& name) {
  DWORD limitMs = 150000;
  for (const auto& entry : e2e::Scenarios())
    if (name == entry.name) limitMs = static_cast<DWORD>(entry.limitSeconds) * 1000;
  if (e2e::UserStateKept()) {
    if (!e2e::RestoreUserState()) {
      std::fprintf(stderr, "zq_e2e: cannot put back the user's settings a killed run kept in HKCU\\%ls; not running\n",
                   e2e::kBackupPath);
      return 2;
    }
    std::printf("restored the user's settings that a killed run left changed\n");
  }
  if (!e2e::KeepUserState()) {
    std::fprintf(stderr, "zq_e2e: cannot keep the user's settings in HKCU\\%ls; not running\n", e2e::kBackupPath);
    return 2;
  }

  wchar_t self[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::fflush(stdout);
  DWORD code = 1;
  try {
    // The child reports on this process's output, which may be a pipe.
    const e2e::Program child(self, {.arguments = L"--scenario " + arguments, .job = true, .inheritStdHandles = true});
    if (const auto exit = child.AwaitExit(limitMs)) {
      code = *exit;
    } else {
      std::printf("FAIL: the scenario ends within %lu s\n", limitMs / 1000);
      if (e2e::SaveScreenshot(name + L"-hung.bmp")) std::printf("the screen then: %ls-hung.bmp\n", name.c_str());
    }
    // Whatever the scenario left running ends before the values go back.
    child.End(10000);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zq_e2e: %s\n", e.what());
  }

  if (!e2e::RestoreUserState()) {
    std::printf("FAIL: the user's settings are back as they were\n");
    return 1;  // the backup stays, for the next run to try again
  }
  return static_cast<int>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wstring(argv[1]) == L"--scenario")
    return RunScenario(argv[2], argv[3], argc >= 5 ? argv[4] : L"");
  if (argc < 3) {
    std::fprintf(stderr, "usage: zq_e2e SCENARIO GADGET_EXE [URL_HANDLER_EXE]\n");
    return 2;
  }
  std::wstring arguments;
  for (int i = 1; i < argc; ++i) arguments += (i > 1 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
  return RunGuarded(arguments, argv[1]);
}
