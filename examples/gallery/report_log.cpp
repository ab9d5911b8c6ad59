#include "report_log.h"

#include <windows.h>

ReportLog::ReportLog() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(L"ZQ_GALLERY_LOG", path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) file_ = _wfopen(path, L"wb");  // plain \n line ends
}

ReportLog::~ReportLog() {
  if (file_) std::fclose(file_);
}

// Flushed at once: the reader polls the file while the program runs.
void ReportLog::Line(const std::string& line) {
  if (!file_) return;
  std::fputs(line.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}
