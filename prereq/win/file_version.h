// File versions from version resources, through version.dll bound at run time from the
// system folder (a copy planted beside the setup is never loaded).
#pragma once
#include <memory>
#include <string>

#include "base/win/version_api.h"

namespace win {

class FileVersionReader {
public:
  // "%d.%d.%d.%d" of the fixed file information; "0.0.0.0" when there is none.
  std::string Text(const std::string &path) const;
  // Binds version.dll now (Text does on first use).
  void Bind() const;

private:
  // Bound on first use: most runs never look at a file version.
  mutable std::unique_ptr<VersionApi> api_;
};

} // namespace win
