// fault_injector.dll: loaded into the real gadget before it runs, it puts a
// stand-in in front of each fallible call the program imports (and of the
// two it reaches through GetProcAddress). A stand-in counts its calls and,
// where the driver armed it in the process's control block, fails the call
// with the call's documented failure value and last error instead of making
// it. It also keeps count of the GDI objects and DCs the program holds, and
// can plant the answers of the processor queries. The program itself is the
// shipped one, unchanged.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "fault_control.h"

namespace {

using faults::Call;

faults::Control* g_control = nullptr;
HANDLE g_mapping = nullptr;

// True when this call of `call` is to fail; counts it either way.
bool Fails(Call call) {
  if (!g_control) return false;
  faults::CallControl& c = g_control->call[static_cast<int>(call)];
  const LONG n = InterlockedIncrement(&c.calls);
  const LONG from = c.failFrom;
  if (from == 0 || n < from || n >= from + c.failCount) return false;
  InterlockedIncrement(&c.failed);
  return true;
}

// --- The GDI objects and DCs the program holds --------------------------------

CRITICAL_SECTION g_liveLock;
std::vector<void*> g_live;

template <typename H>
H Held(H handle) {
  if (handle && g_control) {
    EnterCriticalSection(&g_liveLock);
    g_live.push_back(reinterpret_cast<void*>(handle));
    g_control->liveGdi = static_cast<LONG>(g_live.size());
    LeaveCriticalSection(&g_liveLock);
  }
  return handle;
}

void Released(void* handle) {
  if (!g_control) return;
  EnterCriticalSection(&g_liveLock);
  for (auto it = g_live.begin(); it != g_live.end(); ++it) {
    if (*it == handle) {
      g_live.erase(it);
      break;
    }
  }
  g_control->liveGdi = static_cast<LONG>(g_live.size());
  LeaveCriticalSection(&g_liveLock);
}

// --- The stand-ins ------------------------------------------------------------

template <typename T>
T Pass(T value) {
  return value;
}

#define ZQ_FAULTY(Name, Value, Error, Keep, Params, Args)         \
  decltype(&::Name) real_##Name = nullptr;                       \
  auto WINAPI faulty_##Name Params->decltype(real_##Name Args) { \
    if (Fails(Call::Name)) {                                     \
      SetLastError(Error);                                       \
      return Value;                                              \
    }                                                            \
    return Keep(real_##Name Args);                               \
  }
ZQ_FAULTY_CALLS(ZQ_FAULTY)
#undef ZQ_FAULTY

// Fails outright, or answers as for a buffer too small: the path cut short
// to the buffer's size, and that size.
decltype(&::GetModuleFileNameW) real_GetModuleFileNameW = nullptr;
DWORD WINAPI faulty_GetModuleFileNameW(HMODULE module, LPWSTR name, DWORD size) {
  if (Fails(Call::GetModuleFileNameW)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  const DWORD length = real_GetModuleFileNameW(module, name, size);
  if (!Fails(Call::ModulePathCut) || size == 0) return length;
  name[size - 1] = L'\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

// The monitor window and the buttons are told apart by their style. While
// one is being created, an allocation of its record's size is its record.
Call g_creating = Call::Count;

decltype(&::CreateWindowExW) real_CreateWindowExW = nullptr;
HWND WINAPI faulty_CreateWindowExW(DWORD exStyle, LPCWSTR cls, LPCWSTR title, DWORD style, int x, int y, int width,
                                   int height, HWND parent, HMENU menu, HINSTANCE module, LPVOID parameter) {
  const Call window = (style & WS_CHILD) != 0 ? Call::CreateButton : Call::CreateMainWindow;
  if (Fails(window)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // The monitor window creates its buttons while it is being created.
  const Call outer = g_creating;
  g_creating = window;
  const HWND created =
      real_CreateWindowExW(exStyle, cls, title, style, x, y, width, height, parent, menu, module, parameter);
  g_creating = outer;
  return created;
}

decltype(&::malloc) real_malloc = nullptr;
void* __cdecl faulty_malloc(size_t size) {
  const bool record = g_control && ((g_creating == Call::CreateMainWindow && size == g_control->recordSize &&
                                     Fails(Call::NewRecord)) ||
                                    (g_creating == Call::CreateButton && size == g_control->buttonRecordSize &&
                                     Fails(Call::NewButtonRecord)));
  if (record) {
    errno = ENOMEM;
    return nullptr;
  }
  return real_malloc(size);
}

decltype(&::DeleteObject) real_DeleteObject = nullptr;
BOOL WINAPI faulty_DeleteObject(HGDIOBJ object) {
  Released(object);
  return real_DeleteObject(object);
}
decltype(&::DeleteDC) real_DeleteDC = nullptr;
BOOL WINAPI faulty_DeleteDC(HDC dc) {
  Released(dc);
  return real_DeleteDC(dc);
}
decltype(&::ReleaseDC) real_ReleaseDC = nullptr;
int WINAPI faulty_ReleaseDC(HWND window, HDC dc) {
  Released(dc);
  return real_ReleaseDC(window, dc);
}
decltype(&::EndPaint) real_EndPaint = nullptr;
BOOL WINAPI faulty_EndPaint(HWND window, const PAINTSTRUCT* paint) {
  Released(paint->hdc);
  return real_EndPaint(window, paint);
}
decltype(&::RemoveFontMemResourceEx) real_RemoveFontMemResourceEx = nullptr;
BOOL WINAPI faulty_RemoveFontMemResourceEx(HANDLE font) {
  Released(font);
  return real_RemoveFontMemResourceEx(font);
}

// --- The calls reached through GetProcAddress ---------------------------------

using QueryFn = LONG(WINAPI*)(ULONG infoClass, PVOID buffer, ULONG length, PULONG returned);
using VersionFn = LONG(WINAPI*)(OSVERSIONINFOW* info);
QueryFn real_query = nullptr;
VersionFn real_version = nullptr;
constexpr LONG kAccessDenied = static_cast<LONG>(0xC0000022);

LONG WINAPI faulty_version(OSVERSIONINFOW* info) {
  if (Fails(Call::VersionQuery)) return kAccessDenied;
  const LONG status = real_version(info);
  if (status == 0 && g_control && g_control->plant.build) info->dwBuildNumber = static_cast<DWORD>(g_control->plant.build);
  return status;
}

template <typename Record>
LONG Planted(Record (*make)(const faults::Plant&, std::int64_t, std::uint32_t), std::int64_t k, PVOID buffer,
             ULONG length, PULONG returned) {
  const std::uint32_t records = faults::PlantedRecords(g_control->plant);
  const ULONG size = records * sizeof(Record);
  if (length < size) return static_cast<LONG>(0xC0000004);  // length mismatch
  for (std::uint32_t i = 0; i < records; ++i) static_cast<Record*>(buffer)[i] = make(g_control->plant, k, i);
  if (returned) *returned = size;
  return 0;
}

LONG WINAPI faulty_query(ULONG infoClass, PVOID buffer, ULONG length, PULONG returned) {
  if (infoClass != 8 && infoClass != 42) return real_query(infoClass, buffer, length, returned);
  if (Fails(Call::ProcessorQuery)) return kAccessDenied;
  if (!g_control || !g_control->plant.build) return real_query(infoClass, buffer, length, returned);
  // Planted: the sequence number counts the performance queries only.
  static std::int64_t performanceQueries = -1;
  if (infoClass == 8) {
    if (g_control->plant.performanceQueryFails) return kAccessDenied;
    return Planted(faults::PlantedTimes, ++performanceQueries, buffer, length, returned);
  }
  if (g_control->plant.idleQueryFails) return kAccessDenied;
  return Planted(faults::PlantedIdle, performanceQueries, buffer, length, returned);
}

decltype(&::GetProcAddress) real_GetProcAddress = nullptr;
FARPROC WINAPI faulty_GetProcAddress(HMODULE module, LPCSTR name) {
  const FARPROC found = real_GetProcAddress(module, name);
  if (!found || HIWORD(reinterpret_cast<ULONG_PTR>(name)) == 0) return found;
  const bool ours = std::strcmp(name, "NtQuerySystemInformation") == 0 || std::strcmp(name, "RtlGetVersion") == 0;
  if (ours && Fails(Call::ProcAddress)) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  if (std::strcmp(name, "NtQuerySystemInformation") == 0) {
    real_query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(found));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(faulty_query));
  }
  if (std::strcmp(name, "RtlGetVersion") == 0) {
    real_version = reinterpret_cast<VersionFn>(reinterpret_cast<void*>(found));
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(faulty_version));
  }
  return found;
}

// Only the look-up of ntdll.dll counts: the program asks for its own module
// everywhere.
decltype(&::GetModuleHandleW) real_GetModuleHandleW = nullptr;
HMODULE WINAPI faulty_GetModuleHandleW(LPCWSTR name) {
  if (name && _wcsicmp(name, L"ntdll.dll") == 0 && Fails(Call::NtdllHandle)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return real_GetModuleHandleW(name);
}

// Tells of the planted number of processors.
decltype(&::GetSystemInfo) real_GetSystemInfo = nullptr;
void WINAPI faulty_GetSystemInfo(LPSYSTEM_INFO info) {
  real_GetSystemInfo(info);
  if (g_control && g_control->plant.processors)
    info->dwNumberOfProcessors = static_cast<DWORD>(g_control->plant.processors);
}

// --- Patching the program's imports ---------------------------------------------

struct StandIn {
  const char* name;
  void** real;
  void* faulty;
};

#define ZQ_STAND_IN(Name, ...) {#Name, reinterpret_cast<void**>(&real_##Name), reinterpret_cast<void*>(faulty_##Name)},
const StandIn kStandIns[] = {
    ZQ_FAULTY_CALLS(ZQ_STAND_IN)
    ZQ_STAND_IN(GetModuleFileNameW) ZQ_STAND_IN(CreateWindowExW) ZQ_STAND_IN(malloc) ZQ_STAND_IN(DeleteObject)
    ZQ_STAND_IN(DeleteDC) ZQ_STAND_IN(ReleaseDC) ZQ_STAND_IN(EndPaint) ZQ_STAND_IN(RemoveFontMemResourceEx)
    ZQ_STAND_IN(GetProcAddress) ZQ_STAND_IN(GetModuleHandleW) ZQ_STAND_IN(GetSystemInfo)
};
#undef ZQ_STAND_IN

void PatchImports(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    const auto* names =
        reinterpret_cast<const IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<const char*>(
          reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
      for (const StandIn& s : kStandIns) {
        if (std::strcmp(name, s.name) != 0) continue;
        *s.real = reinterpret_cast<void*>(slots->u1.Function);
        DWORD old = 0;
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
        slots->u1.Function = reinterpret_cast<ULONG_PTR>(s.faulty);
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
      }
    }
  }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitializeCriticalSection(&g_liveLock);
    g_mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, faults::ControlName(GetCurrentProcessId()).c_str());
    if (g_mapping)
      g_control = static_cast<faults::Control*>(MapViewOfFile(g_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(faults::Control)));
    PatchImports(GetModuleHandleW(nullptr));
    if (g_control) g_control->hooked = 1;
  } else if (reason == DLL_PROCESS_DETACH && g_control) {
    g_control->ended = 1;
  }
  return TRUE;
}
