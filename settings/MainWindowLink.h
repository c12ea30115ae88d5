#pragma once

#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

// What the preferences and the Settings dialog use of the main window. The main window is built
// later than this library, so it hands over its controls and handlers instead of itself.
struct MainWindowLink
{
    QWidget *window = nullptr;
    QComboBox *cmbProfile = nullptr;
    QLineEdit *edtOutputdir = nullptr;
    // Shows the profile chosen in cmbProfile afresh from its file in the detail panel.
    std::function<void()> cmbProfileChange;
    // Takes the main window's input away while a secondary window is open.
    std::function<void(bool)> SetInputEnabled;
};
