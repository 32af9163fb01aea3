// Language files for vendors: "tessara-pack check --language FILE..." and the packer's reading of
// --language.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "packer/language/language_file.h"
#include "packer/pack_status.h"

// Reads the file at path and checks it; an unreadable or oversized file is an I/O error or a
// refusal, a file with errors a refusal. Findings are in *file either way.
PackStatus ReadLanguageFile(const std::string &path, LanguageFile *file);

// Prints the file's findings, one a line, each after "<label>: ".
void PrintLanguageFindings(const std::string &label, const LanguageFile &file, FILE *out);

// "tessara-pack check --language FILE...": the arguments after --language. Returns the exit
// code: 0 no errors, 1 usage, 2 a file has errors, 3 a file cannot be read.
int RunLanguageCheck(const std::vector<std::string> &paths);

// "tessara-pack language-template": a language file of every text in English, to translate.
std::string LanguageTemplate();
