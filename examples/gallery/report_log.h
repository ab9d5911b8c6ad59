// The gallery's report log: one line per report, for whoever wants to follow
// the buttons from outside (the end-to-end tests). Written only when the
// environment variable ZQ_GALLERY_LOG names a file.
#pragma once

#include <cstdio>
#include <string>

#include "handles.h"

class ReportLog {
 public:
  ReportLog();

  void Line(const std::string& line);

 private:
  win32::UniqueHandle<std::FILE*, ::fclose> file_;
};
