// Text made piece by piece: strings, characters and numbers in decimal, into one std::string.
// The setup formats every number this way; the printf family would bring its floating-point
// support along, which alone would double the setup's size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace text {

// A value for a named placeholder of a form: "{name}" in the form stands for value.
struct FormField {
  const char *name;
  std::string_view value;
};

class Builder {
public:
  Builder() = default;

  Builder &Add(std::string_view piece);
  // The pieces one after another: Builder().Add({folder, name, ".log"}).
  Builder &Add(std::initializer_list<std::string_view> pieces);
  Builder &Add(char c);
  // The decimal digits of value, no sign, zeros in front up to minDigits.
  Builder &AddNumber(uint64_t value, unsigned minDigits = 1);
  // form with each "{name}" replaced by the value of the field of that name; a placeholder no
  // field names stays as it is. Translated texts are forms, so word order is the language's.
  Builder &AddForm(const char *form, std::initializer_list<FormField> fields);

  const std::string &text() const { return text_; }
  // The text made so far; the builder is empty afterwards.
  std::string Take();

private:
  std::string text_;
};

// The decimal digits of value, written into the end of digits.
std::string_view DecimalDigits(uint64_t value, char (&digits)[20]);

} // namespace text
