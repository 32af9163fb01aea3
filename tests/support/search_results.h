// A search's answers as a plain list, to compare with what a test expects.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "prereq/search.h"

using Found = std::vector<std::string>;

inline Found Search(const SearchHost &host, int32_t searchType, const std::string &text) {
  Found found;
  for (const std::string &version : RunSearch(host, searchType, text)) {
    found.push_back(version);
  }
  return found;
}
