#pragma once

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// The General page's controls. They are the live General settings: the batch run and the
// preferences read them where they stand.
struct GeneralSettingsControls
{
    QLineEdit *edtOutputDir = nullptr;
    QComboBox *cmbSyn = nullptr;
    QCheckBox *chkOpenDir = nullptr;
    QCheckBox *chkExit = nullptr;
    QCheckBox *chkTurnoff = nullptr;
    QRadioButton *rdbOverWrite = nullptr;
    QRadioButton *rdbRename = nullptr;
};
