#include "report_log.h"

#include <windows.h>

ReportLog::ReportLog() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(L"ZQ_GALLERY_LOG", path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) file_.reset(_wfopen(path, L"wb"));  // plain \n line ends
}

// Flushed at once: the reader polls the file while the program runs.
void ReportLog::Line(const std::string& line) {
  if (!file_) return;
  std::fputs(line.c_str(), file_.get());
  std::fputc('\n', file_.get());
  std::fflush(file_.get());
}
