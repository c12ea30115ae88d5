#pragma once

#include "platform/PanelRow.h"

#include <QTableView>
#include <QVector>

class QComboBox;
class TValueListModel;
class TValueListDelegate;

// A two-column key/value grid: the key column is fixed and never edited, the value column is
// edited in place (a line edit for free text, a drop-down list for pick-list rows). No title
// row, no border, grid lines, 17-pixel cells plus the 1-pixel grid line (18 pixels a row).
// The key column is 95 pixels wide unless set otherwise; the value column takes the rest of the
// client width less 2 and follows the grid's width. The user may drag the column border.
// A grid with no rows still shows one empty row (it is not a row: RowCount() stays 0).
//
// Rows are numbered from 0. The current cell is always in the value column (column 1).
//
// Cell look:
//  1. value cell of a read-only free-text row: silver text (only when SilverReadOnlyText()),
//  2. value cell of the current row: window colour fill, black text (silver under rule 1),
//  3. key cell of the current row: RGB(49,106,197) fill while the grid itself holds the
//     keyboard focus; window colour and black text otherwise (also while its editor is open),
//  4. other cells: key cells on the button colour, value cells on the window colour.
class TValueListEditor : public QTableView
{
    Q_OBJECT

public:
    static constexpr int DefaultRowHeight = 17;   // cell height; each row adds a 1-pixel grid line
    static constexpr int DefaultKeyColumnWidth = 95;

    explicit TValueListEditor(QWidget *parent = nullptr);
    ~TValueListEditor() override;

    // ---- rows ----
    int RowCount() const;
    // Deletes every row. Emits StringsChange.
    void Clear();
    // Appends a free-text row; returns its number. The first row of an empty grid becomes the
    // current row. Emits StringsChange.
    int AppendRow(const QString &key, const QString &value);
    const PanelRow &Row(int row) const;
    // Out-of-range rows read as "" (the empty row of an empty grid has no key).
    QString Key(int row) const;
    QString Value(int row) const;
    // Sets a value as the program; emits StringsChange.
    void SetValue(int row, const QString &text);
    // First row whose key matches without regard to letter case; -1 if none.
    int FindRow(const QString &key) const;

    bool IsReadOnly(int row) const;
    void SetReadOnly(int row, bool readOnly);
    QStringList PickList(int row) const;
    void SetPickList(int row, const QStringList &items);
    PanelRow::EditStyle EditStyle(int row) const;
    void SetEditStyle(int row, PanelRow::EditStyle style);

    // ---- current row (current column is always 1) ----
    // -1 when the grid has no rows.
    int CurrentRow() const;
    void SetCurrentRow(int row);

    // ---- look ----
    int KeyColumnWidth() const;
    void SetKeyColumnWidth(int width);
    int ValueColumnWidth() const;
    // Whether read-only free-text values are drawn silver (on by default).
    bool SilverReadOnlyText() const { return FSilverReadOnlyText; }
    void SetSilverReadOnlyText(bool on);
    // Repaints every cell (the current key cell depends on which grid holds the focus).
    void RepaintCells();

    // ---- in-place editing ----
    // True while the in-place editor of a cell is open.
    bool EditorMode() const;
    // Closes an open in-place editor, keeping what was typed. Called from a MouseDown handler,
    // it also keeps the press being handled from opening the editor.
    void EndEditing();
    // Makes the row current and opens its drop-down list (pick-list rows only); false otherwise.
    bool OpenDropDown(int row);
    // The drop-down list editor while one is open, else nullptr.
    QComboBox *DropDown() const;

Q_SIGNALS:
    // The user changed a value in place and then moved to another cell or the grid lost focus.
    void Validate(int row, const QString &value);
    // After every change of the content: rows added or removed, values set by the program or
    // chosen/typed by the user (typed text counts once, when the editor hands it over).
    void StringsChange();
    // A mouse button was pressed in the grid (before the press is handled).
    void MouseDown(Qt::MouseButton button, const QPoint &pos);
    // A mouse click (press and release) in the grid.
    void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyboardSearch(const QString &search) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    friend class TValueListDelegate;
    // A value handed over by the in-place editor.
    void UserSetValue(int row, const QString &text);
    void FitValueColumn();
    void FlushValidate();
    bool RowEditable(int row) const;
    // Whether a viewport x lies on the border between the key and the value column.
    bool OnColumnBorder(int x) const;

    TValueListModel *FModel = nullptr;
    TValueListDelegate *FDelegate = nullptr;
    bool FSilverReadOnlyText = true;
    bool FPressCancelled = false;
    bool FInMouseDown = false;
    int FPendingValidateRow = -1;
    bool FSizingColumn = false;
};
