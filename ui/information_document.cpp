#include "ui/information_document.h"

// Font 0 for the heading, font 1 for the body and its bullets: the body font's own bullet
// character, which every font has (a Symbol font is missing on some systems, Wine's among them).
const char kInformationDocument[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
    "{\\f1\\fswiss\\fcharset0 Arial;}}"
    "\\pard\\b\\f0\\fs32 Required Prerequisites\\par"
    "\\b0\\f1\\fs20\\par "
    "The setup has determined that some of the prerequisites needed to run this program are "
    "missing. This wizard will assist you in getting and installing those prerequisites. "
    "Clicking on the \\b\\i Next\\b0\\i0  button will take you to the PreRequisites page.\\par"
    "\\par "
    "Depending on its installation state, each prerequisite may require one of the following "
    "Actions: \\par"
    "\\par"
    "\\pard\\fi-270\\li270\\tx270{\\bullet\\tab}Download - the prerequisite is missing and it "
    "must be downloaded in order to be installed on this computer.\\par"
    "{\\bullet\\tab}Install - the prerequisite is available and it will be installed.\\par"
    "{\\bullet\\tab}Don't install - an acceptable version is already installed.\\par"
    "\\pard\\par "
    "Clicking on the \\b\\i Next\\b0\\i0  button while in the prerequisites page will perform "
    "the scheduled actions starting with the downloads and finishing with the installs.\\par"
    "\\par "
    "You may click on the \\b\\i Finish\\b0\\i0  button at any time, to completely skip the "
    "installation of prerequisites and jump to the installation of the main program. Clicking "
    "on \\b\\i Cancel\\b0\\i0  will cancel the installation completely.\\par"
    "\\par"
    "}";

int InformationDocumentLength() { return static_cast<int>(sizeof kInformationDocument); }
