// The gallery's report log: one line per report, for whoever wants to follow
// the buttons from outside (the end-to-end tests). Written only when the
// environment variable ZQ_GALLERY_LOG names a file.
#pragma once

#include <cstdio>
#include <string>

class ReportLog {
 public:
  ReportLog();
  ~ReportLog();
  ReportLog(const ReportLog&) = delete;
  ReportLog& operator=(const ReportLog&) = delete;

  void Line(const std::string& line);

 private:
  std::FILE* file_ = nullptr;
};
