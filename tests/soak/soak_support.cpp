#include "soak_support.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace soak {

Options ParseArgs(int argc, char** argv) {
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
  return o;
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

Memory MemoryNow() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
  // PrivateUsage stays 0 under Wine; PagefileUsage is the same figure on
  // Windows (the private commit charge) and follows private pages under Wine.
  return {pmc.WorkingSetSize, pmc.PagefileUsage};
}

DWORD GdiObjectsNow() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

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

void Report(const char* program, const Options& options, const Memory& start, const Memory& end,
            DWORD gdiStart, DWORD gdiEnd) {
  std::printf("program %s\n", program);
  Figure("cycles", static_cast<double>(options.cycles));
  Figure("working_set_start_kb", static_cast<double>(start.workingSet) / 1024);
  Figure("working_set_end_kb", static_cast<double>(end.workingSet) / 1024);
  Figure("private_start_kb", static_cast<double>(start.privateBytes) / 1024);
  Figure("private_end_kb", static_cast<double>(end.privateBytes) / 1024);
  Figure("gui_resources_start", gdiStart);
  Figure("gui_resources_end", gdiEnd);
}

void Fail(const char* why, long cycle) {
  std::printf("FAILED at cycle %ld: %s\n", cycle, why);
  std::fflush(stdout);
  std::exit(3);
}

}  // namespace soak
