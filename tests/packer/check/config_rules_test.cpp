#include "packer/check/config_rules.h"

#include <gtest/gtest.h>

#include "prereq/profile_file.h"

namespace {

ConfigReport ApplyRules(const std::string &content,
                        const std::vector<std::string> *setupNames = nullptr) {
  ProfileFile file;
  file.Parse(content);
  ConfigRulesInput input;
  if (setupNames != nullptr) {
    input.setupKnown = true;
    input.setupNames = *setupNames;
  }
  return ApplyConfigRules(file, input);
}

// Every finding's text, one per line, errors marked.
std::string Findings(const ConfigReport &report) {
  std::string all;
  for (const ConfigFinding &f : report.findings) {
    all += (f.severity == ConfigFinding::kError ? "E " : "W ") + f.message + "\n";
  }
  return all;
}

const char kGood[] = "[PREREQUISITES]\nApp1=Runtime\n[App1]\nSetupFile=rt.exe\nSearchType=1\n"
                     "SearchString=HKLM\\SOFTWARE\\Rt\nVerMin=1.4\nVerMax=1.5\n";

TEST(ConfigRules, ACleanConfigurationHasNoFindings) {
  std::vector<std::string> names = {"rt.exe"};
  ConfigReport report = ApplyRules(kGood, &names);
  EXPECT_EQ(Findings(report), "");
  EXPECT_EQ(report.prerequisites.size(), 1u);
  EXPECT_EQ(report.endReason, "App2 is not listed in [PREREQUISITES]");
}

TEST(ConfigRules, ExplainsWhereTheListEnds) {
  ConfigReport report = ApplyRules("[PREREQUISITES]\nApp1=A\nApp2=B\nApp3=C\nApp4=D\n"
                                   "[App1]\nSetupFile=a\nSearchType=1\nSearchString=HKLM\\A\n"
                                   "[App2]\nSetupFile=b\nSearchType=1\nSearchString=HKLM\\B\n"
                                   "[App3]\nSetupFile=c\nSearchType=1\n"
                                   "[App4]\nSetupFile=d\nSearchType=1\nSearchString=HKLM\\D\n");
  EXPECT_EQ(report.prerequisites.size(), 2u);
  EXPECT_EQ(report.endReason,
            "App3 has no usable SearchString, so App3 and everything after it is ignored");
  EXPECT_NE(Findings(report).find("W App4 is never read"), std::string::npos);
  EXPECT_EQ(report.errorCount(), 0);
}

TEST(ConfigRules, NoPrerequisiteAtAllIsAnError) {
  ConfigReport report =
      ApplyRules("[PREREQUISITES]\nApp1=A\n[App1]\nSetupFile=a\nSearchString=x\n");
  EXPECT_EQ(report.errorCount(), 1);
  EXPECT_NE(Findings(report).find("App1 has no usable SearchType"), std::string::npos);
  // Without a list there is nothing to check: a package without prerequisites.
  EXPECT_EQ(ApplyRules("[GeneralOptions]\nMainAppCmdLine=/qb\n").errorCount(), 0);
}

TEST(ConfigRules, LikelyMistakesAreWarnings) {
  ConfigReport report =
      ApplyRules("[PREREQUISITES]\nApp1=A\n[App1]\nSetupFile=a\nSeachType=1\nSearchType=7\n"
                 "SearchString=x\nTargetOS=1a\nCommandLine=" +
                 std::string(259, 'c') + "\n[GeneralOptions]\nOptions=Q\n");
  std::string f = Findings(report);
  EXPECT_NE(f.find("W unknown key SeachType in [App1] (did you mean SearchType?)"),
            std::string::npos);
  EXPECT_NE(f.find("W SearchType 7 is not 0"), std::string::npos);
  EXPECT_NE(f.find("W TargetOS '1a' reads as 1"), std::string::npos);
  EXPECT_NE(f.find("W CommandLine is 259 characters long"), std::string::npos);
  EXPECT_NE(f.find("W Options has a capital Q"), std::string::npos);
  EXPECT_EQ(report.errorCount(), 0);
}

TEST(ConfigRules, RegistryRoots) {
  auto rootFinding = [](const std::string &root) {
    return Findings(ApplyRules("[PREREQUISITES]\nApp1=A\n[App1]\nSetupFile=a\nSearchType=1\n"
                               "SearchString=" +
                               root + "\\SOFTWARE\\X\n"));
  };
  EXPECT_EQ(rootFinding("HKLM"), "");
  EXPECT_EQ(rootFinding("HKCU"), "");
  EXPECT_EQ(rootFinding("hklm"),
            "W root 'hklm' selects HKEY_CURRENT_USER; write HKLM for HKEY_LOCAL_MACHINE\n");
  EXPECT_EQ(rootFinding("HKEY_LOCAL_MACHINE"), "W root 'HKEY_LOCAL_MACHINE' selects "
                                               "HKEY_CURRENT_USER; write HKLM for "
                                               "HKEY_LOCAL_MACHINE\n");
}

TEST(ConfigRules, ViewsMachinesAndProducts) {
  auto findings = [](const std::string &keys) {
    return Findings(ApplyRules("[PREREQUISITES]\nApp1=A\n[App1]\nSetupFile=a\n" + keys));
  };
  EXPECT_EQ(findings("SearchType=4\nSearchString={5D1A3B6C-2E4F-4A7B-9C8D-0E1F2A3B4C5D}\n"
                     "Architectures=x86, arm64\n") +
                findings("SearchType=1\nSearchString=HKCU32\\K\n"),
            "");
  // For 64-bit machines only, the old names read the setup's 32-bit view: warnings.
  const std::string f = findings("SearchType=1\nSearchString=hklm64\\K\n") +
                        findings("SearchType=3\nSearchString=5D1A3B6C-2E4F-4A7B-9C8D\n") +
                        findings("SearchType=0\nSearchString=[ProgramFiles][Sytem64Folder]t.exe\n"
                                 "Architectures=x64,X86\n") +
                        findings("SearchType=2\nSearchString=HKLM\\K\\V\nArchitectures=arm64\n");
  for (const char *expected :
       {"E root 'hklm64' is not HKLM64, HKCU64, HKLM32 or HKCU32", "E a ProductCode is written {",
        "E Architectures: 'X86' is not x86, x64 or arm64",
        "E [Sytem64Folder] is not a folder "
        "token and is replaced by nothing (did you mean System64Folder?)",
        "W Architectures names 64-bit machines only, but there [ProgramFiles] is",
        "W Architectures names 64-bit machines only, but there root HKLM"}) {
    EXPECT_NE(f.find(expected), std::string::npos) << expected << "\n" << f;
  }
}

TEST(ConfigRules, SourcesVersionsAndHashes) {
  std::vector<std::string> names = {"other.exe"};
  ConfigReport report =
      ApplyRules("[PREREQUISITES]\nApp1=A\nApp2=B\n"
                 "[App1]\nSetupFile=a.exe\nSearchType=1\nSearchString=HKLM\\A\n"
                 "[App2]\nUrl=http://host/dir/\nSearchType=0\nVerMin=2.0\nVerMax=1.9\n"
                 "SearchString=[ProgramFilesFolders]x\\t.exe\nSha256=12ab\n",
                 &names);
  std::string f = Findings(report);
  EXPECT_NE(f.find("E SetupFile 'a.exe' is not a prerequisite setup carried by the setup"),
            std::string::npos);
  EXPECT_NE(f.find("W Url 'http://host/dir/' has no file name"), std::string::npos);
  EXPECT_NE(f.find("W VerMin 2.0 is above VerMax 1.9"), std::string::npos);
  EXPECT_NE(f.find("W [ProgramFilesFolders] is not a folder token and is replaced by nothing "
                   "(did you mean ProgramFilesFolder?)"),
            std::string::npos);
  EXPECT_NE(f.find("E Sha256 must be 64 hexadecimal digits"), std::string::npos);
  EXPECT_EQ(report.errorCount(), 2);
}

TEST(ConfigRules, DownloadsWithoutAHashAreWarnedAboutLoudestOverPlainHttp) {
  const std::string hash(64, 'a');
  ConfigReport report =
      ApplyRules("[PREREQUISITES]\nApp1=A\nApp2=B\nApp3=C\nApp4=D\n"
                 "[App1]\nUrl=http://host/a.exe\nSearchType=1\nSearchString=HKLM\\A\n"
                 "[App2]\nUrl=HTTPS://host/b.exe\nSearchType=1\nSearchString=HKLM\\B\n"
                 "[App3]\nUrl=http://host/c.exe\nSearchType=1\nSearchString=HKLM\\C\n"
                 "Sha256=" +
                 hash +
                 "\nUrl2=https://mirror/c.exe\nUrl3=ftp://mirror/c.exe\nUrl5=https://x/c.exe\n"
                 "\n[App4]\nUrl=http://host/d.exe\nSearchType=1\nSearchString=HKLM\\D\n"
                 "Signer=Vendor\n");
  const std::string f = Findings(report);
  EXPECT_NE(f.find("W UNVERIFIED DOWNLOAD OVER PLAIN HTTP: Url 'http://host/a.exe' has neither "
                   "Sha256 nor Signer"),
            std::string::npos)
      << f;
  EXPECT_NE(f.find("W UNVERIFIED DOWNLOAD: Url 'HTTPS://host/b.exe' has neither"),
            std::string::npos)
      << f;
  // Without ExactSize only a hash or a signer lets a "latest" file through.
  EXPECT_NE(f.find("W Url 'http://host/a.exe' has no ExactSize, Sha256 or Signer"),
            std::string::npos)
      << f;
  EXPECT_EQ(f.find("W Url 'http://host/c.exe"), std::string::npos) << f;
  EXPECT_EQ(f.find("d.exe"), std::string::npos) << f;
  EXPECT_EQ(report.prerequisites[2].mirrors.size(), 2u);
  EXPECT_NE(f.find("E Url3 'ftp://mirror/c.exe' is not an http:// or https:// address"),
            std::string::npos)
      << f;
  EXPECT_NE(f.find("W Url5 is never read: the addresses end at Url4, which is missing"),
            std::string::npos)
      << f;
  EXPECT_EQ(f.find("unknown key"), std::string::npos) << f;
  EXPECT_EQ(report.errorCount(), 1);
}

TEST(ConfigRules, AFileFromWhichNothingCanBeReadIsAnError) {
  const std::string ini = "[PREREQUISITES]\r\nApp1=A\r\n[App1]\r\nSetupFile=a.exe\r\n"
                          "SearchType=1\r\nSearchString=HKLM\\A\r\n";
  std::string utf16;
  for (char c : ini) {
    utf16 += c;
    utf16 += '\0';
  }
  // With its byte-order mark a UTF-16 file reads like the ANSI one.
  ProfileFile marked;
  marked.Parse("\xFF\xFE" + utf16);
  EXPECT_EQ(marked.encoding(), ProfileEncoding::kUtf16Le);
  EXPECT_EQ(ApplyConfigRules(marked, ConfigRulesInput()).prerequisites.size(), 1u);
  // Without it, it is taken as ANSI and reads as nothing: refused, not packed silently.
  ConfigReport unmarked = ApplyRules(utf16);
  EXPECT_EQ(unmarked.errorCount(), 1);
  EXPECT_NE(Findings(unmarked).find("neither a prerequisite nor a general option can be read from "
                                    "it (read as ANSI (no byte-order mark))"),
            std::string::npos)
      << Findings(unmarked);
  EXPECT_EQ(ApplyRules("; only a comment\n").errorCount(), 1);
  // An empty file, and one with general options only, are packages without prerequisites.
  EXPECT_EQ(ApplyRules("").errorCount(), 0);
  EXPECT_EQ(ApplyRules(" \r\n\r\n").errorCount(), 0);
  EXPECT_EQ(ApplyRules("[GeneralOptions]\nOptions=q\n").errorCount(), 0);
}

TEST(ConfigRules, DescribesSearchesInWords) {
  Prerequisite p;
  p.searchType = 2;
  p.searchString = "HKLM\\SOFTWARE\\Example\\Version";
  EXPECT_EQ(DescribeSearch(p), "data of value 'Version' of HKEY_LOCAL_MACHINE\\SOFTWARE\\Example");
  p.searchType = 1;
  p.searchString = "HKCU\\K\\\\Installed\\1\\";
  EXPECT_EQ(DescribeSearch(p),
            "data of value 'Installed' of HKEY_CURRENT_USER\\K, only when its data is '1'");
}

} // namespace
