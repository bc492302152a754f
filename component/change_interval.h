#pragma once
// When a folder's round moves on: each video loops until the interval set in kv (menu
// 换片间隔, in kv.ini beside the control's DLL) has passed since it started, and the change
// is taken at the end of a pass, so a video longer than the interval plays to its end.
#include <chrono>

// The interval as kv.ini says it now: 0 is each video once; absent or unreadable is 10 minutes.
std::chrono::minutes changeInterval();

// At the end of a pass, after `played` of the current video: move on to the next one?
bool changeAtPassEnd(std::chrono::milliseconds played, std::chrono::minutes interval);
