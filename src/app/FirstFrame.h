#pragma once

#include <functional>

class QWidget;

// Calls `painted` once, after `window` has painted for the first time: the
// start-up benchmark times the program to that moment.
void watchFirstFrame(QWidget* window, std::function<void()> painted);

// Writes "first-frame" to standard error once `window` has painted, when the
// environment variable PENSILO_FIRST_FRAME is set; otherwise does nothing.
void reportFirstFrameIfAsked(QWidget* window);
