// Whether the common-controls library is 5.80 or later (label tips in list views need it).
#pragma once

// Computed afresh on each call: DllGetVersion when exported, else the file version.
bool IsComCtl580OrLater();
