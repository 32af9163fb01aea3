// The wizard's own texts on the real system: the download-failure messages as the product's
// string table holds them, and the information document as a real rich-edit control shows it.
#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>

#include <cstring>
#include <string>

#include "base/win/module.h"
#include "base/win/module_state.h"
#include "ui/download_failure_message.h"
#include "ui/information_document.h"

namespace {

TEST(DownloadFailureMessage, EachResultShowsItsTextFromTheStringTable) {
  const struct {
    int result;
    const char *text;
  } table[] = {
      {1, "Download failed to start."},
      {2, "An error ocured while downloading the file."},
      {3, "An error ocurred while saving the file."},
      {4, "Download aborted."},
      {5, "The download failed. Verify you are conected to the INTERNET and try again."},
      {-7, "The download failed. Verify you are conected to the INTERNET and try again."},
  };
  for (const auto &row : table) {
    EXPECT_EQ(
        win::LoadResourceString(DownloadFailureStringId(static_cast<DownloadFailure>(row.result))),
        row.text)
        << "result " << row.result;
  }
  // A pass's result reports the failure of the same number.
  EXPECT_EQ(FailureOf(DownloadRunResult::NotStarted), DownloadFailure::NotStarted);
  EXPECT_EQ(FailureOf(DownloadRunResult::Aborted), DownloadFailure::Aborted);
  EXPECT_EQ(FailureOf(DownloadRunResult::Stopped), DownloadFailure::Failed);
}

struct Reader {
  int position = 0;
};

DWORD CALLBACK ReadDocument(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG *read) {
  auto *reader = reinterpret_cast<Reader *>(cookie);
  const int left = InformationDocumentLength() - reader->position;
  const int count = size < left ? static_cast<int>(size) : left;
  std::memcpy(buffer, kInformationDocument + reader->position, static_cast<size_t>(count));
  reader->position += count;
  *read = count;
  return 0;
}

// Character format of the count characters at start.
CHARFORMATA FormatAt(HWND control, LONG start, LONG count) {
  CHARRANGE range = {start, start + count};
  ::SendMessageA(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARFORMATA format = {};
  format.cbSize = sizeof format;
  ::SendMessageA(control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

bool Bold(const CHARFORMATA &f) { return (f.dwMask & CFM_BOLD) && (f.dwEffects & CFE_BOLD); }
bool Italic(const CHARFORMATA &f) { return (f.dwMask & CFM_ITALIC) && (f.dwEffects & CFE_ITALIC); }

TEST(InformationDocument, ShowsItsParagraphsAndFormatting) {
  win::Module richEdit(win::LoadSystemLibrary("riched32.dll"));
  ASSERT_TRUE(richEdit.IsLoaded());
  HWND control = ::CreateWindowExA(0, "RICHEDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, 600, 400,
                                   nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(control, nullptr);
  Reader reader;
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&reader), 0, ReadDocument};
  ::SendMessageA(control, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  EXPECT_EQ(reader.position, InformationDocumentLength());

  char buffer[4096] = {};
  ::GetWindowTextA(control, buffer, sizeof buffer);
  std::string shown(buffer);
  // Paragraphs end in CR LF (riched32), or CR alone in later versions.
  std::string lines;
  for (char c : shown) {
    if (c != '\n') {
      lines += c == '\r' ? '\n' : c;
    }
  }
  // The bullets are the bullet character (U+2022, 0x95 in the test prefix's code page).
  for (const char *item : {"\tDownload - ", "\tInstall - ", "\tDon't install - "}) {
    const size_t tab = lines.find(item);
    ASSERT_NE(tab, std::string::npos);
    ASSERT_GT(tab, 0u);
    EXPECT_EQ(lines[tab - 1], '\x95') << item;
    lines[tab - 1] = '*';
  }
  const std::string bullet = "*\t";
  const std::string expected =
      "Required Prerequisites\n"
      "\n"
      "The setup has determined that some of the prerequisites needed to run this program are "
      "missing. This wizard will assist you in getting and installing those prerequisites. "
      "Clicking on the Next button will take you to the PreRequisites page.\n"
      "\n"
      "Depending on its installation state, each prerequisite may require one of the following "
      "Actions: \n"
      "\n" +
      bullet +
      "Download - the prerequisite is missing and it must be downloaded in order to be "
      "installed on this computer.\n" +
      bullet + "Install - the prerequisite is available and it will be installed.\n" + bullet +
      "Don't install - an acceptable version is already installed.\n"
      "\n"
      "Clicking on the Next button while in the prerequisites page will perform the scheduled "
      "actions starting with the downloads and finishing with the installs.\n"
      "\n"
      "You may click on the Finish button at any time, to completely skip the installation of "
      "prerequisites and jump to the installation of the main program. Clicking on Cancel will "
      "cancel the installation completely.\n";
  EXPECT_EQ(lines.substr(0, expected.size()), expected);

  // The control's positions are those of its own text.
  auto at = [&](const std::string &what) {
    const size_t found = shown.find(what);
    EXPECT_NE(found, std::string::npos) << what;
    return static_cast<LONG>(found);
  };
  CHARFORMATA heading = FormatAt(control, 0, 8);
  EXPECT_TRUE(Bold(heading));
  EXPECT_STREQ(heading.szFaceName, "Times New Roman");
  EXPECT_EQ(heading.yHeight, 16 * 20);
  CHARFORMATA body = FormatAt(control, at("The setup"), 9);
  EXPECT_FALSE(Bold(body));
  EXPECT_FALSE(Italic(body));
  EXPECT_STREQ(body.szFaceName, "Arial");
  EXPECT_EQ(body.yHeight, 10 * 20);
  for (LONG word :
       {at("Next button will"), at("Next button while"), at("Finish button"), at("Cancel will")}) {
    CHARFORMATA f = FormatAt(control, word, 4);
    EXPECT_TRUE(Bold(f) && Italic(f)) << "at " << word;
  }
  CHARFORMATA bulletFormat = FormatAt(control, at("\tDownload") - 1, 1);
  // In the body font: no font the system may lack.
  EXPECT_STREQ(bulletFormat.szFaceName, "Arial");
  // The list hangs 270 twips (first line at 0, the rest at 270); the paragraph after it not.
  auto paragraph = [&](LONG position) {
    FormatAt(control, position, 1);
    PARAFORMAT format = {};
    format.cbSize = sizeof format;
    ::SendMessageA(control, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
  };
  PARAFORMAT item = paragraph(at("Install - the"));
  EXPECT_EQ(item.dxStartIndent, 0);
  EXPECT_EQ(item.dxOffset, 270);
  PARAFORMAT after = paragraph(at("Next button while"));
  EXPECT_EQ(after.dxStartIndent, 0);
  EXPECT_EQ(after.dxOffset, 0);
  ::DestroyWindow(control);
}

} // namespace
