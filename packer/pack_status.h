// Outcome of a packer step: an exit code and, for a failure, the one line that explains it.
#pragma once
#include <string>
#include <utility>

enum PackExitCode : int {
  kExitOk = 0,
  kExitUsage = 1,   // the command line is wrong
  kExitRefused = 2, // an input is missing or would give a setup that cannot work
  kExitIoError = 3, // reading or writing failed
};

struct PackStatus {
  int exitCode = kExitOk;
  std::string message;

  bool ok() const { return exitCode == kExitOk; }
};

inline PackStatus PackOk() { return PackStatus(); }
inline PackStatus UsageError(std::string message) { return {kExitUsage, std::move(message)}; }
inline PackStatus Refused(std::string message) { return {kExitRefused, std::move(message)}; }
inline PackStatus IoError(std::string message) { return {kExitIoError, std::move(message)}; }

// Prints "tessara-pack: <message>" to stderr for a failure; returns the exit code.
int ReportStatus(const PackStatus &status);
