// The configuration reader against the platform's GetPrivateProfileStringA on awkward files.
#include <windows.h>

#include <gtest/gtest.h>

#include "prereq/config_reader.h"
#include "prereq/profile_file.h"

namespace {

struct Lookup {
  const char *section;
  const char *key;
};

std::string TempFile(const std::string &name) {
  char folder[MAX_PATH];
  DWORD length = ::GetTempPathA(MAX_PATH, folder);
  return std::string(folder, length) + name;
}

void Write(const std::string &path, const std::string &content) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  ::CloseHandle(file);
}

// What the configuration makes of the platform's answer.
std::string Platform(const std::string &path, const char *section, const char *key) {
  char buffer[kConfigValueBuffer];
  DWORD length = ::GetPrivateProfileStringA(section, key, kNotFound, buffer,
                                            static_cast<DWORD>(sizeof buffer), path.c_str());
  std::string value(buffer, length);
  if (length == kConfigValueBuffer - 1 || value == kNotFound) {
    return "absent";
  }
  return "[" + value + "]";
}

std::string Ours(const std::string &path, const char *section, const char *key) {
  ProfileFile file;
  file.Load(path);
  std::string value;
  return ReadConfigValue(file, section, key, &value) ? "[" + value + "]" : "absent";
}

void ExpectAgreement(const std::string &name, const std::string &content,
                     const std::vector<Lookup> &lookups) {
  std::string path = TempFile(name);
  Write(path, content);
  for (const Lookup &l : lookups) {
    EXPECT_EQ(Ours(path, l.section, l.key), Platform(path, l.section, l.key))
        << name << " [" << l.section << "] " << l.key;
  }
  ::DeleteFileA(path.c_str());
}

TEST(ProfileAgreement, BlanksAndQuotes) {
  ExpectAgreement("tess-blanks.ini",
                  "[S]\n  a  =  spaced  \nb=\t tab\t\nc=\"dq\"\nd='sq'\ne=\" padded \"\n"
                  "f=\"open\ng='mixed\"\nh=\"\ni=\"\"\nj=x\"y\"\nk= \"both\" \nl=\n m\n",
                  {{"S", "a"},
                   {"S", "b"},
                   {"S", "c"},
                   {"S", "d"},
                   {"S", "e"},
                   {"S", "f"},
                   {"S", "g"},
                   {"S", "h"},
                   {"S", "i"},
                   {"S", "j"},
                   {"S", "k"},
                   {"S", "l"},
                   {"S", "m"},
                   {"S", "missing"}});
}

TEST(ProfileAgreement, CaseDuplicatesAndOddLines) {
  ExpectAgreement("tess-dups.ini",
                  "top=before any section\n[Sec]\nKey=1\nKEY=2\nnoequals\n;comment=3\n"
                  "# hash=4\n[sec]\nkey=5\nonly2=6\n[ Padded ]\npk=7\n[Tail] junk\ntk=8\n"
                  "[Open\nok=9\n[]\nek=10\n=nokey\n",
                  {{"SEC", "key"},
                   {"sec", "Key"},
                   {"Sec", "noequals"},
                   {"Sec", ";comment"},
                   {"Sec", "# hash"},
                   {"sec", "only2"},
                   {"Padded", "pk"},
                   {" Padded ", "pk"},
                   {"Tail", "tk"},
                   {"Tail", "ok"},
                   {"Open", "ok"},
                   {"", "ek"},
                   {"", "top"},
                   {"Sec", ""}});
}

TEST(ProfileAgreement, LineEndsAndByteOrderMark) {
  ExpectAgreement("tess-crlf.ini", "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3",
                  {{"A", "x"}, {"A", "y"}, {"B", "z"}});
  ExpectAgreement("tess-cr.ini", "[A]\rx=1\r\r[B]\rz=3\r", {{"A", "x"}, {"B", "z"}});
  ExpectAgreement("tess-bom.ini", "\xEF\xBB\xBF[A]\nx=1\n", {{"A", "x"}});
}

// Notepad's "Unicode" and "Unicode big endian", and UTF-8 with a mark: the platform reads the
// text into the ANSI code page; a file without a mark is ANSI whatever it holds.
TEST(ProfileAgreement, UnicodeFiles) {
  auto utf16 = [](const std::wstring &text, bool bigEndian, bool mark) {
    std::string out = !mark ? "" : bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t u : text) {
      const char hi = static_cast<char>((u >> 8) & 0xFF);
      const char lo = static_cast<char>(u & 0xFF);
      out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
  };
  const std::wstring text = L"[PREREQUISITES]\r\nApp1=R\u00e9sum\u00e9 \u4e2d \u20ac\r\n"
                            L"[App1]\r\nSetupFile=\"x.exe\"\r\n  Url = y \r\nlone=a\xD800z\r\n";
  const std::vector<Lookup> lookups = {{"PREREQUISITES", "App1"},
                                       {"app1", "SetupFile"},
                                       {"App1", "Url"},
                                       {"App1", "lone"},
                                       {"App1", "missing"}};
  ExpectAgreement("tess-utf16le.ini", utf16(text, false, true), lookups);
  ExpectAgreement("tess-utf16be.ini", utf16(text, true, true), lookups);
  ExpectAgreement("tess-utf16odd.ini", utf16(text, false, true) + "x", lookups);
  ExpectAgreement("tess-utf16bare.ini", utf16(text, false, false), lookups);
  ExpectAgreement("tess-utf16mark.ini", "\xFF\xFE", lookups);
  ExpectAgreement("tess-utf8.ini",
                  "\xEF\xBB\xBF[A]\r\nx=R\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD\r\n"
                  "cut=a\xC3\r\n",
                  {{"A", "x"}, {"A", "cut"}});
  ExpectAgreement("tess-utf8bare.ini", "[A]\r\nx=R\xC3\xA9sum\xC3\xA9\r\n", {{"A", "x"}});
}

TEST(ProfileAgreement, LongValuesAndTheMarker) {
  std::string v258(258, 'a');
  std::string v259(259, 'b');
  std::string v260(260, 'c');
  ExpectAgreement("tess-long.ini",
                  "[L]\nv258=" + v258 + "\nv259=" + v259 + "\nv260=" + v260 + "\nq257=\"" +
                      v258.substr(1) + "\"\nq258=\"" + v258 +
                      "\"\nnf=NOT FOUND\nnfs=not found\n"
                      "nfq=\"NOT FOUND\"\n",
                  {{"L", "v258"},
                   {"L", "v259"},
                   {"L", "v260"},
                   {"L", "q257"},
                   {"L", "q258"},
                   {"L", "nf"},
                   {"L", "nfs"},
                   {"L", "nfq"}});
}

TEST(ProfileAgreement, EmptyAndMissingFiles) {
  ExpectAgreement("tess-empty.ini", "", {{"GeneralOptions", "Options"}});
  std::string missing = TempFile("tess-no-such-file.ini");
  EXPECT_EQ(Ours(missing, "A", "x"), Platform(missing, "A", "x"));
}

// Found by this comparison and kept on purpose: the platform cuts a quoted value of 259
// characters to 258 and reports it as read; a cut value is never used here.
TEST(ProfileDifference, QuotedValueOfTheBufferSizeIsAbsent) {
  std::string path = TempFile("tess-q259.ini");
  Write(path, "[L]\nq259=\"" + std::string(259, 'q') + "\"\n");
  EXPECT_EQ(Platform(path, "L", "q259"), "[" + std::string(258, 'q') + "]");
  EXPECT_EQ(Ours(path, "L", "q259"), "absent");
  ::DeleteFileA(path.c_str());
}

} // namespace
