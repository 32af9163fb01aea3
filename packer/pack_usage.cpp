#include "packer/pack_usage.h"

const char *PackUsageText() {
  return R"(Usage:
  tessara-pack [pack] --stub STUB --msi PACKAGE.msi [options] -o SETUP.exe
  tessara-pack list SETUP.exe
  tessara-pack extract SETUP.exe FOLDER
  tessara-pack check CONFIG.ini [SETUP.exe]
  tessara-pack check --language FILE...
  tessara-pack language-template
  tessara-pack hash FILE
  tessara-pack --help
  tessara-pack --version

Builds a setup: the stub program with an archive of the package's files appended.

pack (the default command):
  --stub FILE            the stub, tessara-stub.exe from the Windows build (required)
  --msi FILE             the Windows Installer package; its name must end in .msi (required
                         unless --external-files)
  --cab FILE             a cabinet of the package (repeatable)
  --file FILE            any further file of the package (repeatable)
  --config FILE          the configuration listing the prerequisites; stored as
                         <package base name>.ini whatever FILE is called, checked as by
                         "check", and it sets the HasPrerequisites flag
  --prereq FILE          a prerequisite's setup program, stored under its file name
                         (repeatable; the configuration's SetupFile values name these)
  --external-files       set the ExternalFiles flag: the package, its cabinets and the
                         configuration lie beside the setup as plain files (SETUP.msi,
                         SETUP.ini) and are not extracted
  --has-prerequisites    set the HasPrerequisites flag without --config (with
                         --external-files, for a configuration that lies beside the setup)
  --product-name NAME    the ProductName of the setup's version resource (at most 63
                         characters); the setup's window titles read "NAME Setup"
  --icon FILE.ico        the icon of the setup in Explorer and on its windows (icon 128)
  --company TEXT         CompanyName of the version resource
  --description TEXT     FileDescription of the version resource
  --file-version A.B.C.D FileVersion, the string and the fixed version
  --language FILE        a language file (UTF-8): the setup shows its texts to users whose
                         Windows speaks its language, or who ask for it with /lang:<id>;
                         checked as by "check --language" (repeatable, one a language)
  --carry AppN=FILE      store prerequisite N's downloaded setup in the setup and make the
                         stored configuration name it as SetupFile (an offline setup);
                         FILE must match N's ExactSize and Sha256 (repeatable)
  --replace              accept a stub that already carries an archive (a finished setup):
                         the old archive is cut off and the new one appended
  -o, --output FILE      the setup to write (required); written to a temporary file beside
                         it and renamed into place only when complete
  Options also take the form --option=VALUE.

  Table order: package, cabinets, further files, configuration, prerequisite setups, carried
  setups, language tables.
  Refused: a missing input; a stub that is not a Tessara stub of this archive version; a
  package, cabinet or prerequisite setup of the wrong kind; a bad .ico; an entry name that is empty, longer than 259 bytes, "." or "..",
  or holds \ / or :; two entries with one name, also when they differ only in case; a
  package not named *.msi; a setup of 2 GiB or more; a stub that already carries an archive
  (without --replace); a configuration with errors; a product name of 64 or more
  characters; a carried file that does not match its prerequisite; a language file with
  errors, or two of one language.

list SETUP.exe       prints the footer fields, offsetDelta, the flags by name and each entry's
                     type, size, offset and name, read exactly as the setup reads them
extract SETUP.exe FOLDER
                     writes every entry into FOLDER (made when missing)
check CONFIG.ini [SETUP.exe]
                     checks a configuration (and the prerequisite setups a setup carries)
check SETUP.exe      checks the configuration stored in a setup: what it carries, what it
                     downloads, which languages it speaks
check --language FILE...
                     reads language files as the packer does: errors refuse a file, missing
                     texts and clashing access keys are warnings
language-template    prints a language file of every text in English, to translate
hash FILE            prints the Sha256 line for a prerequisite's section
--version            prints "tessara-pack VERSION", the release this packer and its stub
                     belong to

The product name can also be set when the stub is built:
  cmake --preset windows -DTESSARA_PRODUCT_NAME="Name"

Exit codes:
  0  success
  1  bad usage (unknown option, missing argument)
  2  refused: an input is missing or would give a setup that cannot work
  3  reading or writing a file failed
)";
}

const char *PackVersionText() { return "tessara-pack " TESSARA_VERSION "\n"; }
