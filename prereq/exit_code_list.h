// The exit-code lists of a prerequisite's section (SuccessCodes, RestartCodes).
#pragma once
#include <cstdint>
#include <string>

// Whether a list of comma-separated decimal codes (blanks allowed around each) holds code:
// 1 when it does, 0 when it does not, -1 when the list is empty or holds anything else.
int ExitCodeListHas(const std::string &list, uint32_t code);
