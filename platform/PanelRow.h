#pragma once

#include <QString>
#include <QStringList>

// One row of a key/value grid: a parameter's name, its shown text, and how it may be changed.
struct PanelRow
{
    enum class EditStyle { Simple, PickList };

    QString key;
    QString value;
    QStringList pickList;                 // the choices of a pick-list row; empty for free text
    EditStyle editStyle = EditStyle::Simple;
    // Free text: the value cannot be typed. Pick list: typing never works anyway, but a choice
    // can still be made from the drop-down list.
    bool readOnly = false;
};
