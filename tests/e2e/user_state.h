// The user's own registry values that a scenario lets the gadget change:
// everything under HKCU\Software\QUORVANE, the "Zelvaquint" value of the Run
// key, and the http class (the user's, and under Wine the machine's), where
// the donation scenario plants its stand-in browser. Before a scenario the
// registry copies them into a backup key of the user's, outside the gadget's
// tree; afterwards they are put back byte for byte and the backup goes. A
// run that was killed leaves the backup, for the next one to put back.
#pragma once

#include <windows.h>

namespace e2e {

inline constexpr wchar_t kBackupPath[] = L"Software\\Zelvaquint-e2e-backup";  // under HKCU

// Whether a whole backup waits to be put back.
bool UserStateKept();
// Takes the backup anew; false, with none left, if it cannot.
bool KeepUserState();
// Puts back what differs from the backup and, once all is as kept, removes
// the backup; false, with the backup kept, if something is not back.
bool RestoreUserState();

}  // namespace e2e
