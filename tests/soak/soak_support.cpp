#include "soak_support.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "embedded_font.h"

namespace soak {

namespace {

struct Memory {
  std::uint64_t workingSet = 0;
  std::uint64_t privateBytes = 0;
};

Memory MemoryNow() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // PrivateUsage stays 0 under Wine; PagefileUsage is the same figure on
  // Windows (the private commit charge) and follows private pages under Wine.
  return {pmc.WorkingSetSize, pmc.PagefileUsage};
}

// GDI objects as Windows counts them; 0 under Wine, which does not.
DWORD GdiObjectsNow() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

}  // namespace

Options Start(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--marks") == 0) {
      o.marks = true;
      continue;
    }
    char* end = nullptr;
    const long n = std::strtol(argv[i], &end, 10);
    if (end == argv[i] || *end != '\0' || n <= 0) {
      std::fprintf(stderr, "usage: %s [CYCLES] [--marks]\n", argv[0]);
      std::exit(2);
    }
    o.cycles = n;
  }
  if (o.marks) Mark("start");
  // Static, so that the exit in Fail removes it too.
  static const zqtest::ScratchUserHive hive;
  if (!hive.ok()) Fail("no scratch user hive", -1);
  static const EmbeddedFont typeface;
  return o;
}

Timings Run(const char* program, const Options& options,
            const std::function<void(long cycle, bool warmUp, Timings& timings)>& cycle,
            zqtest::PointerMessages pointer) {
  Timings warm;
  for (long i = 0; i < options.warmup; ++i) {
    cycle(i, true, warm);
    zqtest::DispatchPending(pointer);
  }
  if (options.marks) Mark("begin");
  const Memory memStart = MemoryNow();
  const DWORD gdiStart = GdiObjectsNow();

  Timings steady;
  for (long i = 0; i < options.cycles; ++i) {
    if (options.marks) Mark("cycle", i);
    cycle(i, false, steady);
    zqtest::DispatchPending(pointer);
  }
  if (options.marks) Mark("end");
  const Memory memEnd = MemoryNow();
  const DWORD gdiEnd = GdiObjectsNow();
  std::printf("program %s\n", program);
  Figure("cycles", static_cast<double>(options.cycles));
  Figure("working_set_start_kb", static_cast<double>(memStart.workingSet) / 1024);
  Figure("working_set_end_kb", static_cast<double>(memEnd.workingSet) / 1024);
  Figure("private_start_kb", static_cast<double>(memStart.privateBytes) / 1024);
  Figure("private_end_kb", static_cast<double>(memEnd.privateBytes) / 1024);
  Figure("gui_resources_start", gdiStart);
  Figure("gui_resources_end", gdiEnd);
  return steady;
}

int End(const Options& options, HWND window) {
  DestroyWindow(window);
  zqtest::DispatchPending();
  if (options.marks) Mark("exit");
  return 0;
}

void Mark(const char* what, long cycle) {
  // Unbuffered, and written whole, so it never splits a trace line.
  char line[96];
  const int n = cycle < 0 ? std::snprintf(line, sizeof line, "zq-soak %04lx %s\n", GetCurrentThreadId(), what)
                          : std::snprintf(line, sizeof line, "zq-soak %04lx %s %ld\n", GetCurrentThreadId(),
                                          what, cycle);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(n), &written, nullptr);
}

Stopwatch::Stopwatch() { QueryPerformanceFrequency(&frequency_); }
void Stopwatch::Start() { QueryPerformanceCounter(&started_); }
void Stopwatch::Stop() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  ticks_ += now.QuadPart - started_.QuadPart;
}
double Stopwatch::TotalMicros() const {
  return 1e6 * static_cast<double>(ticks_) / static_cast<double>(frequency_.QuadPart);
}

void Figure(const char* name, double value) {
  std::printf("%s %.3f\n", name, value);
  std::fflush(stdout);
}

void Fail(const char* why, long cycle) {
  std::printf("FAILED at cycle %ld: %s\n", cycle, why);
  std::fflush(stdout);
  std::exit(3);
}

}  // namespace soak
