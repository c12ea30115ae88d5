#pragma once

#include <functional>

class IMessages;
class QWidget;

// Runs one user action. An error it raises (a file that cannot be read or written, a list
// position out of range, anything else thrown) ends the action and is shown in the top-level
// error box; the program goes on. Returns false when the action ended with an error.
bool RunGuarded(IMessages &messages, QWidget *owner, const std::function<void()> &action);
