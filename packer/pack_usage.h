// The text of "tessara-pack --help".
#pragma once

const char *PackUsageText();
