#include "base/text_builder.h"

#include <utility>

#include "base/divide.h"

namespace text {

Builder &Builder::Add(std::string_view piece) {
  text_.append(piece.data(), piece.size());
  return *this;
}

Builder &Builder::Add(std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) {
    text_.append(piece.data(), piece.size());
  }
  return *this;
}

Builder &Builder::Add(char c) {
  text_.push_back(c);
  return *this;
}

Builder &Builder::AddNumber(uint64_t value, unsigned minDigits) {
  char buffer[20];
  const std::string_view digits = DecimalDigits(value, buffer);
  for (size_t width = digits.size(); width < minDigits; ++width) {
    text_.push_back('0');
  }
  return Add(digits);
}

Builder &Builder::AddForm(const char *form, std::initializer_list<FormField> fields) {
  while (*form != '\0') {
    const FormField *found = nullptr;
    // A placeholder's name runs up to the first closing brace.
    const char *close = form;
    if (*form == '{') {
      while (*++close != '\0' && *close != '}') {
      }
      const std::string_view name(form + 1, static_cast<size_t>(close - form - 1));
      for (const FormField &field : fields) {
        if (*close == '}' && name == field.name) {
          found = &field;
          break;
        }
      }
    }
    if (found != nullptr) {
      Add(found->value);
      form = close + 1;
    } else {
      text_.push_back(*form++);
    }
  }
  return *this;
}

std::string Builder::Take() { return std::move(text_); }

std::string_view DecimalDigits(uint64_t value, char (&digits)[20]) {
  // From the last digit back.
  size_t at = sizeof digits;
  do {
    uint32_t digit = 0;
    value = DivideU64(value, 10, &digit);
    digits[--at] = static_cast<char>('0' + digit);
  } while (value != 0);
  return std::string_view(digits + at, sizeof digits - at);
}

} // namespace text
