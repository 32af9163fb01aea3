// The language of the setup's windows: the archive's language table for the language asked for
// on the command line (/lang:), else for the user's UI language; English when none serves it.
#pragma once
#include <cstdint>

class LanguageTable;
class SfxArchive;

// Reads the archive's language tables and keeps in *chosen the one that serves requested (0:
// the user's UI language) best: its very language first, then a table that serves the primary
// language. A damaged table counts as absent. Hands the table to the windows and, for a
// language written right to left, lays every window out mirrored. Nothing changes when no
// table serves the language.
void ChooseUiLanguage(SfxArchive &archive, uint16_t requested, LanguageTable *chosen);
