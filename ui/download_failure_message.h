// The message shown for a non-zero result of an interactive downloadAll.
#pragma once

// String-table id of the text for the result: 1 "Download failed to start.", 2 a download
// error, 3 a save error, 4 "Download aborted.", any other the general download failure.
unsigned DownloadFailureStringId(int result);

// The result whose text tells that a downloaded file could not be saved.
constexpr int kDownloadSaveFailedResult = 3;
