#include "startup.h"

#include <objbase.h>

#include "agreement_dialog.h"
#include "embedded_font.h"
#include "main_window.h"
#include "resource.h"
#include "settings.h"
#include "wbuttonex.h"

namespace {

// The caption of every start-up error box.
constexpr wchar_t kStartupErrorCaption[] = L"Ostrevo";

void ShowStartupError(const wchar_t* text) {
  MessageBoxW(nullptr, text, kStartupErrorCaption, MB_ICONERROR);
}

enum class Gate { Accepted, Declined, Failed };

// Any non-zero REG_DWORD counts as accepted; everything else asks again.
Gate PassAgreementGate(HINSTANCE instance, const SettingsKey& key) {
  const auto accepted = key.ReadDword(settings::kUserAgreement);
  if (accepted && *accepted != 0) return Gate::Accepted;
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_AGREEMENT), nullptr,
                                         AgreementDlgProc, 0);
  if (result == 0) return Gate::Declined;
  // A dialog that could not be shown was never accepted.
  if (result == -1) return Gate::Failed;
  return Gate::Accepted;
}

// The shell may reach the handler of a URL through COM, so the thread
// keeps an apartment while it has windows; without one it runs as before.
class ComApartment {
 public:
  ComApartment()
      : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int RunGadget(HINSTANCE instance) {
  {
    const SettingsKey key;
    if (!key.IsOpen()) return 0;
    switch (PassAgreementGate(instance, key)) {
      case Gate::Declined:
        return 0;
      case Gate::Failed:
        ShowStartupError(L"ERROR: Failed to show the user agreement");
        return 0;
      case Gate::Accepted:
        break;
    }
    key.WriteDword(settings::kUserAgreement, 1);
  }

  // Added before the first font is created, removed after the loop when the
  // windows whose fonts used it are gone.
  const EmbeddedFont typeface;
  // Before the window whose donation button opens a URL, ended after the loop.
  const ComApartment com;

  if (!RegisterButtonClass()) {
    ShowStartupError(L"ERROR: Failed to initialize toolkit");
    return 0;
  }
  if (!RegisterMainWndClass()) {
    ShowStartupError(L"ERROR: Failed to initialize the window classes");
    return 0;
  }
  if (!CreateMainWnd()) {
    ShowStartupError(L"Failed to create the main window");
    return 0;
  }
  return RunMessageLoop();
}
