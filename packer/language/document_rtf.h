// The information page's document made from the markup of a language file (language_file.h):
// Rich Text in the English document's fonts and sizes (the heading Times New Roman 16 pt bold,
// the rest Arial 10 pt), each list item after a bullet (U+2022, which every font has) with a
// hanging indent, **words** bold italic. The fonts ask for the language's character set, so that
// the system finds a font that has its script; every character beyond ASCII is written as \uN.
#pragma once
#include <cstdint>
#include <string>

std::string DocumentRtf(const std::string &markup, uint16_t language, bool rightToLeft);

// Why the markup cannot be made a document (a line with an odd number of **); empty when it
// can. *line is the markup's line (1 first) of the problem.
std::string DocumentProblem(const std::string &markup, int *line);
