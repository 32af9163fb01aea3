#include "ui/setup_name.h"

#include "base/text_builder.h"
#include "base/win/version_api.h"
#include "ui/ui_text.h"

bool ProductNameOrPath(const std::string &setupPath, std::string *name) {
  const bool read = win::VersionApi().ReadString(setupPath, "ProductName", name);
  if (name->empty()) {
    *name = setupPath;
  }
  return read;
}

std::string SetupTitle(const std::string &name) {
  return text::Builder().AddForm(UiText(ui_text::kTitle), {{"product", name}}).Take();
}
