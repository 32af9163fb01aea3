// A folder that belongs to one run: made inside a shared folder (the user's temporary folder)
// under a name nobody held before, so that no file of another run, another program or an
// attacker can already lie in it.
#pragma once
#include <cstdint>
#include <string>

namespace sys {

// Makes a folder inside parent (which ends with a path separator) named prefix and eight hex
// digits; *path receives it with the separator. The folder did not exist before this call: a
// name already taken, by a file or a folder, is passed over for the next. seed varies the names
// between runs. False when no folder could be made (parent missing or unwritable, or every name
// tried taken).
bool CreateNewFolder(const std::string &parent, const std::string &prefix, uint32_t seed,
                     std::string *path);

} // namespace sys
