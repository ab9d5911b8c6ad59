// The agreement's wording keeps the structure the dialog is laid out for.
#include "agreement_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(L"\r\n", start)) != std::wstring::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

bool AllCapitals(const std::wstring& line) {
  for (wchar_t c : line)
    if (c >= L'a' && c <= L'z') return false;
  return true;
}

TEST(AgreementText, TwentyThreeLinesInTheirOrder) {
  const std::wstring text = kAgreementText;
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0], L"User Agreement");
  EXPECT_EQ(lines[4], L"1. General");
  EXPECT_EQ(lines[8], L"2. Grant of License");
  EXPECT_EQ(lines[12], L"3. Restrictions");
  EXPECT_EQ(lines[16], L"4. Termination");
  EXPECT_EQ(lines[20], L"5. Disclaimer");
  for (std::size_t i = 1; i < lines.size(); i += 2) EXPECT_TRUE(lines[i].empty()) << "line " << i + 1;
  for (std::size_t i : {2u, 6u, 10u, 14u, 18u, 22u}) EXPECT_GT(lines[i].size(), 200u) << "line " << i + 1;
  EXPECT_TRUE(AllCapitals(lines[2]));
  EXPECT_TRUE(AllCapitals(lines[22]));
  EXPECT_NE(lines[6].find(L"QUORVANE"), std::wstring::npos) << "the owner is named";
}

TEST(AgreementText, PlainAsciiWithCrLfOnlyBetweenLines) {
  const std::wstring text = kAgreementText;
  EXPECT_EQ(text.size(), 2358u);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    ASSERT_TRUE((c >= 0x20 && c < 0x7F) || c == L'\r' || c == L'\n') << "at " << i;
    if (c == L'\r') {
      ASSERT_EQ(text[i + 1], L'\n') << "at " << i;
    }
    if (c == L'\n') {
      ASSERT_EQ(text[i - 1], L'\r') << "at " << i;
    }
  }
  EXPECT_NE(text.back(), L'\n');
}

}  // namespace
