// The text of "tessara-pack --help" and "tessara-pack --version".
#pragma once

const char *PackUsageText();

// "tessara-pack VERSION" and a line end; VERSION is the project's, the stub's as well.
const char *PackVersionText();
