// The setup's command line: its arguments, /extract: and the Windows Installer options. The
// input is read as a line as it stands, and drives a line built of pieces (UI switches, logs
// with their files glued or apart, quoted values with switches inside, other options) that must
// read back as built: the last UI switch wins, the last log's file comes back whole, and quoted
// text neither is a switch nor hides the switches after it.
#include "app/command_line.h"
#include "app/msi_options.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

struct UiSwitch {
  const char *text;
  UiLevel level;
};
const UiSwitch kUiSwitches[] = {
    {"/qn", UiLevel::None},       {"-QN", UiLevel::None},  {"/q", UiLevel::None},
    {"/quiet", UiLevel::None},    {"/QN+", UiLevel::None}, {"/qb!-", UiLevel::Basic},
    {"/passive", UiLevel::Basic}, {"-qr", UiLevel::Basic}, {"/qf", UiLevel::Full},
};
const char *const kOthers[] = {"/norestart", "/lang:de", "/qx", "/quietly", "ADDLOCAL=ALL", "-"};

// Up to 24 printable characters without a quote.
std::string Text(FuzzInput &in) {
  std::string out;
  for (uint8_t n = in.Byte() % 25; n > 0; --n) {
    const char c = static_cast<char>(0x20 + in.Byte() % 95);
    out.push_back(c == '"' ? '\'' : c);
  }
  return out;
}

// text in quotes; a backslash before the closing quote is a backslash, as for msiexec.
std::string Quoted(const std::string &text) { return "\"" + text + "\""; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string raw(reinterpret_cast<const char *>(data), size);
  CommandArgument argument;
  size_t count = 0;
  for (size_t pos = 0; NextArgument(raw, &pos, &argument);) {
    FUZZ_CHECK(pos <= raw.size() && argument.text.size() <= raw.size() && ++count <= raw.size());
  }
  ParseExtractOption(raw);
  ParseMsiOptions(raw);

  FuzzInput in(data, size);
  std::string line;
  UiLevel level = UiLevel::Full;
  std::string log;
  for (int pieces = in.Byte() % 12; pieces > 0; --pieces) {
    const uint8_t choice = in.Byte();
    std::string text = Text(in);
    line += (choice & 128) != 0 ? "\t" : " ";
    switch (choice % 5) {
    case 0: {
      const UiSwitch &s = kUiSwitches[(choice / 5) % (sizeof kUiSwitches / sizeof *kUiSwitches)];
      line += s.text;
      level = s.level;
      break;
    }
    case 1:
      log = text.empty() ? "x" : text;
      line += ((choice & 64) != 0 ? "/L*V" : "/log") + Quoted(log);
      break;
    case 2:
      log = text.empty() ? "x" : text;
      line += "/l*v ";
      line += log.find_first_of(" \t") == std::string::npos ? log : Quoted(log);
      break;
    case 3:
      // A folder that ends with a backslash, as administrators write them, hides nothing.
      line += "PROP=" + Quoted(text + " /qn /l*v x.log /extract:C:\\x " + text + "\\");
      break;
    default:
      line += kOthers[(choice / 5) % (sizeof kOthers / sizeof *kOthers)];
      break;
    }
  }
  const MsiOptions options = ParseMsiOptions(line);
  FUZZ_CHECK(options.uiLevel == level);
  FUZZ_CHECK(options.logFile == log);
  FUZZ_CHECK(ParseExtractOption(line).empty());
  return 0;
}
