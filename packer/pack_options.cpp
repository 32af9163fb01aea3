#include "packer/pack_options.h"

#include "base/text.h"
#include "prereq/config_reader.h"

namespace {

// "App2=path/to/setup.exe" into an OfflinePrereq; false with *error for anything else.
bool ParseOfflinePrereq(const std::string &text, OfflinePrereq *request, std::string *error) {
  const size_t equals = text.find('=');
  const std::string key = equals == std::string::npos ? text : text.substr(0, equals);
  const std::string digits = key.size() > 3 ? key.substr(3) : std::string();
  bool number = !digits.empty() && digits.size() <= 9 && digits[0] != '0';
  for (char c : digits) {
    number = number && c >= '0' && c <= '9';
  }
  if (equals == std::string::npos || !text::StartsWithNoCase(key, "App") || !number ||
      equals + 1 >= text.size()) {
    *error =
        "--carry takes AppN=FILE (for example App2=redist/runtime-setup.exe), not '" + text + "'";
    return false;
  }
  request->app = ParseConfigNumber(digits);
  request->path = text.substr(equals + 1);
  return true;
}

enum class Kind { kSingle, kList, kFlag };

struct OptionSpec {
  const char *name;
  Kind kind;
};

const OptionSpec kOptions[] = {
    {"--stub", Kind::kSingle},
    {"--msi", Kind::kSingle},
    {"--cab", Kind::kList},
    {"--file", Kind::kList},
    {"--config", Kind::kSingle},
    {"--prereq", Kind::kList},
    {"--output", Kind::kSingle},
    {"-o", Kind::kSingle},
    {"--product-name", Kind::kSingle},
    {"--icon", Kind::kSingle},
    {"--company", Kind::kSingle},
    {"--file-version", Kind::kSingle},
    {"--description", Kind::kSingle},
    {"--carry", Kind::kList},
    {"--language", Kind::kList},
    {"--external-files", Kind::kFlag},
    {"--has-prerequisites", Kind::kFlag},
    {"--replace", Kind::kFlag},
};

const OptionSpec *FindOption(const std::string &name) {
  for (const OptionSpec &option : kOptions) {
    if (name == option.name) {
      return &option;
    }
  }
  return nullptr;
}

PackStatus SetSingle(const std::string &name, const std::string &value, PackOptions *options) {
  std::string *target = nullptr;
  bool *seen = nullptr;
  if (name == "--stub") {
    target = &options->stub;
  } else if (name == "--msi") {
    target = &options->msi;
  } else if (name == "--config") {
    target = &options->config;
  } else if (name == "--output" || name == "-o") {
    target = &options->output;
  } else if (name == "--icon") {
    target = &options->icon;
  } else if (name == "--company") {
    target = &options->company;
  } else if (name == "--file-version") {
    target = &options->fileVersion;
  } else if (name == "--description") {
    target = &options->description;
  } else {
    target = &options->productName;
    seen = &options->hasProductName;
  }
  if (!target->empty() || (seen != nullptr && *seen)) {
    return UsageError(name + " is given twice");
  }
  if (value.empty() && seen == nullptr) {
    return UsageError(name + " needs a value");
  }
  *target = value;
  if (seen != nullptr) {
    *seen = true;
  }
  return PackOk();
}

PackStatus Apply(const OptionSpec &option, const std::string &value, PackOptions *options) {
  const std::string name = option.name;
  if (option.kind == Kind::kSingle) {
    return SetSingle(name, value, options);
  }
  if (option.kind == Kind::kList) {
    if (value.empty()) {
      return UsageError(name + " needs a file name");
    }
    if (name == "--carry") {
      OfflinePrereq request;
      std::string error;
      if (!ParseOfflinePrereq(value, &request, &error)) {
        return UsageError(error);
      }
      for (const OfflinePrereq &other : options->offlinePrereqs) {
        if (other.app == request.app) {
          return UsageError("--carry names App" + std::to_string(request.app) + " twice");
        }
      }
      options->offlinePrereqs.push_back(request);
      return PackOk();
    }
    std::vector<std::string> &list = name == "--cab"        ? options->cabinets
                                     : name == "--file"     ? options->files
                                     : name == "--language" ? options->languages
                                                            : options->prerequisites;
    list.push_back(value);
    return PackOk();
  }
  bool &flag = name == "--external-files"      ? options->externalFiles
               : name == "--has-prerequisites" ? options->hasPrerequisitesFlag
                                               : options->replace;
  flag = true;
  return PackOk();
}

PackStatus CheckRequired(const PackOptions &options) {
  if (options.stub.empty()) {
    return UsageError("--stub is required");
  }
  if (options.output.empty()) {
    return UsageError("-o (--output) is required");
  }
  if (options.msi.empty() && !options.externalFiles) {
    return UsageError("--msi is required (unless --external-files)");
  }
  // The setup would look for a configuration it does not carry and stop at every run.
  if (options.hasPrerequisitesFlag && options.config.empty() && !options.externalFiles) {
    return Refused("--has-prerequisites without --config gives a setup that never runs: give "
                   "--config (the flag is only for --external-files, whose configuration "
                   "lies beside the setup)");
  }
  if (!options.config.empty() && options.msi.empty()) {
    return UsageError("--config needs --msi: the configuration is stored under the package's "
                      "base name");
  }
  if (!options.offlinePrereqs.empty() && options.config.empty()) {
    return UsageError("--carry needs --config: it rewrites a prerequisite of the configuration");
  }
  return PackOk();
}

} // namespace

PackStatus ParsePackOptions(const std::vector<std::string> &args, PackOptions *options) {
  *options = PackOptions();
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool inlineValue = false;
    const size_t equals = name.find('=');
    if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
      inlineValue = true;
    }
    const OptionSpec *option = FindOption(name);
    if (option == nullptr) {
      return UsageError(args[i].empty() || args[i][0] != '-'
                            ? "unexpected argument '" + args[i] + "'"
                            : "unknown option '" + name + "' (see --help)");
    }
    if (option->kind == Kind::kFlag) {
      if (inlineValue) {
        return UsageError(name + " takes no value");
      }
    } else if (!inlineValue) {
      if (i + 1 >= args.size()) {
        return UsageError(name + " needs a value");
      }
      value = args[++i];
    }
    const PackStatus status = Apply(*option, value, options);
    if (!status.ok()) {
      return status;
    }
  }
  return CheckRequired(*options);
}
