// Stands in for the browser: registered as the http handler of a test prefix,
// it appends the URL it is asked to open to the file named by ZQ_URL_LOG.
#include <cstdio>
#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
  const wchar_t* log = _wgetenv(L"ZQ_URL_LOG");
  if (!log) return 2;
  FILE* out = _wfopen(log, L"ab");  // binary: one LF per URL
  if (!out) return 3;
  for (int i = 1; i < argc; ++i) std::fprintf(out, "%ls%s", argv[i], i + 1 < argc ? " " : "");
  std::fprintf(out, "\n");
  std::fclose(out);
  return 0;
}
