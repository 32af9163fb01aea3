// The name a download is stored under: the last path segment of its URL.
#pragma once
#include <string>

// Whether url starts with http:// or https:// (in any case).
bool IsWebAddress(const std::string &url);

// The text after the last '/' or '\' (a query string stays part of it); empty when the URL
// has neither.
std::string fileNameFromUrl(const std::string &url);

// False for names that cannot be a plain file inside the download folder: empty, "." or "..",
// with a character Windows forbids in names (a stream colon, a wildcard that FindFirstFileA
// would expand, a query's '?'), a device name (CON, COM1, ...) or a trailing dot or blank.
bool IsUsableDownloadName(const std::string &name);

// folder (path text, a backslash added when missing) followed by fileNameFromUrl(url), which
// is in the ANSI code page as the configuration is, as path text.
std::string DownloadTargetPath(const std::string &folder, const std::string &url);
// The same when the URL's name is usable (IsUsableDownloadName), the name found once; false,
// with path untouched, when it is not.
bool UsableDownloadPath(const std::string &folder, const std::string &url, std::string *path);
