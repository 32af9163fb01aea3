// Messages the launch window's worker posts to it (based on WM_USER, 1024).
#pragma once

constexpr unsigned IRM_STARTING = 1025; // wParam: index of the setup about to start
constexpr unsigned IRM_FINISHED = 1027; // every setup has ended
