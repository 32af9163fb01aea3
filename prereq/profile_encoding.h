// The encodings a configuration file may be saved in, turned into the ANSI text the rest of
// the reader works on, as the platform's profile reader does: a UTF-16 file (little- or
// big-endian) or a UTF-8 file is recognised only by its byte-order mark, and its text reaches
// the caller in the ANSI code page, '?' standing for what that code page lacks.
#pragma once
#include <string>
#include <string_view>

enum class ProfileEncoding {
  kAnsi,    // no byte-order mark: the bytes are taken as they are
  kUtf8,    // EF BB BF
  kUtf16Le, // FF FE
  kUtf16Be, // FE FF
};

// Recognises the byte-order mark of raw and writes the text without it, in the ANSI code page.
ProfileEncoding DecodeProfileText(std::string_view raw, std::string *ansi);

// "ANSI", "UTF-8 (byte-order mark)", ...: for messages.
const char *ProfileEncodingName(ProfileEncoding encoding);
