#include "packer/language/language_check.h"

#include "archive/language_table.h"
#include "packer/file_scan.h"
#include "packer/portable_system.h"

namespace {

// Far beyond any real language file: its table must stay below the setup's limit too.
constexpr uint32_t kMaxLanguageFileBytes = kMaxLanguageTableSize;

} // namespace

PackStatus ReadLanguageFile(const std::string &path, LanguageFile *file) {
  uint64_t size = 0;
  std::string bytes;
  if (!portable::FileSize(path, &size) || !ReadFileHead(path, kMaxLanguageFileBytes, &bytes)) {
    return IoError("cannot read the language file '" + path + "'");
  }
  if (size > kMaxLanguageFileBytes) {
    return Refused("the language file '" + path + "' is " + std::to_string(size) +
                   " bytes; a language file stays below 1 MiB");
  }
  *file = ParseLanguageFile(bytes);
  if (file->errorCount() > 0) {
    return Refused("the language file '" + path + "' has errors; nothing was written");
  }
  const std::string table = CompileLanguageFile(*file);
  if (table.size() > kMaxLanguageTableSize) {
    return Refused("the language file '" + path + "' makes a table of " +
                   std::to_string(table.size()) + " bytes; the setup reads at most 1 MiB");
  }
  return PackOk();
}

void PrintLanguageFindings(const std::string &label, const LanguageFile &file, FILE *out) {
  for (const LanguageFinding &f : file.findings) {
    const char *kind = f.error ? "error" : "warning";
    if (f.line > 0) {
      std::fprintf(out, "%s: %s: line %d: %s\n", label.c_str(), kind, f.line, f.message.c_str());
    } else {
      std::fprintf(out, "%s: %s: %s\n", label.c_str(), kind, f.message.c_str());
    }
  }
}

int RunLanguageCheck(const std::vector<std::string> &paths) {
  if (paths.empty()) {
    std::fputs("Usage: tessara-pack check --language FILE...\n", stderr);
    return 1;
  }
  int exitCode = 0;
  for (const std::string &path : paths) {
    LanguageFile file;
    const PackStatus status = ReadLanguageFile(path, &file);
    if (status.exitCode == kExitIoError || (!status.ok() && file.findings.empty())) {
      std::fprintf(stderr, "tessara-pack: %s\n", status.message.c_str());
      exitCode = status.exitCode == kExitIoError ? 3 : 2;
      continue;
    }
    std::printf("Language file: %s\n", path.c_str());
    if (file.language != 0) {
      std::printf("  language:  %u%s%s\n", file.language,
                  file.name.empty() ? "" : (" (" + file.name + ")").c_str(),
                  file.neutral != 0 ? (", also for every language of primary language " +
                                       std::to_string(file.neutral))
                                          .c_str()
                                    : "");
      std::printf("  direction: %s\n", IsRightToLeftLanguage(file.language)
                                           ? "right to left (windows mirrored)"
                                           : "left to right");
      std::printf("  texts:     %zu of %zu\n", file.texts.size(), CatalogueSize());
    }
    std::fflush(stdout);
    PrintLanguageFindings(path, file, stdout);
    std::printf("%d error(s), %d warning(s)\n", file.errorCount(), file.warningCount());
    if (!status.ok() && exitCode == 0) {
      exitCode = 2;
    }
  }
  return exitCode;
}

std::string LanguageTemplate() {
  std::string out =
      "; A Tessara language file: translate each text after its '=' (keep every {name} as\n"
      "; it is; & marks the access key), set Id, check it with\n"
      ";   tessara-pack check --language FILE\n"
      "; and give it to the packer with --language FILE. A text left out stays English.\n"
      "\n[Language]\nId = 1033\n; Neutral = 9\nName = English\n\n[Texts]\n";
  const char *document = "";
  for (size_t i = 0; i < CatalogueSize(); ++i) {
    const CatalogueText &text = CatalogueTexts()[i];
    if (text.kind == TextKind::Document) {
      document = text.english;
      continue;
    }
    const std::string value = text.english;
    const bool quoted = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    out += std::string(text.name) + " = " + (quoted ? "\"" + value + "\"" : value) + "\n";
  }
  return out + "\n[Document]\n" + document;
}
