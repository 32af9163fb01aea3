// Restarting Windows when the user asks for it.
#pragma once

// Has the system's shutdown program restart Windows at once, giving "planned application
// installation" as the reason; false when it could not be started.
bool RestartWindows();
