#include "packer/language/document_rtf.h"

#include <vector>

#include "packer/language/utf8.h"

namespace {

// The character set and ANSI code page the fonts ask for, by primary language (or by the whole
// id where one primary language has two scripts).
struct Script {
  uint16_t language;
  int charset;
  int codePage;
};

const Script kScripts[] = {
    {0x0404, 136, 950}, {0x0C04, 136, 950}, {0x1404, 136, 950}, // Chinese, traditional
    {0x04, 134, 936},                                           // Chinese, simplified
    {0x11, 128, 932},                                           // Japanese
    {0x12, 129, 949},                                           // Korean
    {0x01, 178, 1256},  {0x29, 178, 1256},  {0x20, 178, 1256},  // Arabic, Persian, Urdu
    {0x0D, 177, 1255},                                          // Hebrew
    {0x08, 161, 1253},                                          // Greek
    {0x1F, 162, 1254},                                          // Turkish
    {0x1E, 222, 874},                                           // Thai
    {0x2A, 163, 1258},                                          // Vietnamese
    {0x19, 204, 1251},  {0x22, 204, 1251},  {0x02, 204, 1251},  // Russian, Ukrainian, Bulgarian
    {0x23, 204, 1251},                                          // Belarusian
    {0x15, 238, 1250},  {0x05, 238, 1250},  {0x1B, 238, 1250},  // Polish, Czech, Slovak
    {0x0E, 238, 1250},  {0x24, 238, 1250},  {0x18, 238, 1250},  // Hungarian, Slovenian, Romanian
    {0x25, 186, 1257},  {0x26, 186, 1257},  {0x27, 186, 1257},  // Estonian, Latvian, Lithuanian
};

Script ScriptOf(uint16_t language) {
  for (const Script &script : kScripts) {
    if (script.language == language) {
      return script;
    }
  }
  for (const Script &script : kScripts) {
    if (script.language == (language & 0x3FF)) {
      return script;
    }
  }
  return {language, 0, 1252};
}

std::vector<std::string> Lines(const std::string &markup) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= markup.size()) {
    size_t end = markup.find('\n', start);
    if (end == std::string::npos) {
      end = markup.size();
    }
    std::string line = markup.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) {
    lines.pop_back();
  }
  return lines;
}

// The text of a paragraph as Rich Text: special characters escaped, **words** bold italic.
std::string ParagraphText(const std::string &text) {
  std::string out;
  bool emphasis = false;
  for (size_t at = 0; at < text.size();) {
    if (text.compare(at, 2, "**") == 0) {
      out += emphasis ? "}" : "{\\b\\i ";
      emphasis = !emphasis;
      at += 2;
      continue;
    }
    uint32_t c = 0;
    if (!NextUtf8(text, &at, &c)) {
      continue; // the file was checked: nothing is lost here
    }
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c < 0x20) {
      continue;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      // \uN takes a signed 16-bit number; a character past U+FFFF goes as its surrogates.
      const auto unit = [&out](uint32_t u) {
        out += "\\u" +
               std::to_string(u >= 0x8000 ? static_cast<int>(u) - 0x10000 : static_cast<int>(u)) +
               "?";
      };
      if (c >= 0x10000) {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        unit(c);
      }
    }
  }
  if (emphasis) {
    out += "}";
  }
  return out;
}

} // namespace

std::string DocumentRtf(const std::string &markup, uint16_t language, bool rightToLeft) {
  const Script script = ScriptOf(language);
  const std::string charset = std::to_string(script.charset);
  std::string rtf = "{\\rtf1\\ansi\\ansicpg" + std::to_string(script.codePage) +
                    "\\deff0\\deflang" + std::to_string(language) +
                    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset" + charset +
                    " Times New Roman;}{\\f1\\fswiss\\fcharset" + charset + " Arial;}}\r\n";
  const std::string paragraph = rightToLeft ? "\\pard\\rtlpar" : "\\pard";
  for (const std::string &line : Lines(markup)) {
    if (line.compare(0, 2, "# ") == 0) {
      rtf += paragraph + "\\f0\\fs32\\b " + ParagraphText(line.substr(2)) + "\\b0\\par\r\n";
    } else if (line.compare(0, 2, "- ") == 0) {
      rtf += paragraph + "\\fi-270\\li270\\tx270\\f1\\fs20 \\u8226?\\tab " +
             ParagraphText(line.substr(2)) + "\\par\r\n";
    } else {
      rtf += paragraph + "\\f1\\fs20 " + ParagraphText(line) + "\\par\r\n";
    }
  }
  // The English document ends with an empty paragraph too.
  return rtf + paragraph + "\\f1\\fs20\\par\r\n}\r\n";
}

std::string DocumentProblem(const std::string &markup, int *line) {
  const std::vector<std::string> lines = Lines(markup);
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t marks = 0;
    for (size_t at = lines[i].find("**"); at != std::string::npos;
         at = lines[i].find("**", at + 2)) {
      ++marks;
    }
    if (marks % 2 != 0) {
      *line = static_cast<int>(i) + 1;
      return "an emphasis (**) is not closed on its line";
    }
  }
  return std::string();
}
