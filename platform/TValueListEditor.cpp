#include "platform/TValueListEditor.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

namespace {

const QColor FocusKeyColour(49, 106, 197);
const QColor SilverColour(192, 192, 192);

// A drop-down editor that never takes typed text; the list is for choosing only.
class PickListCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
            event->accept();
            return;
        }
        QComboBox::keyPressEvent(event);
    }
    void wheelEvent(QWheelEvent *event) override { event->accept(); }
};

const PanelRow &EmptyRow()
{
    static const PanelRow row;
    return row;
}

} // namespace

// The rows; an empty grid shows one row without key or value.
class TValueListModel : public QAbstractTableModel
{
public:
    explicit TValueListModel(QObject *parent) : QAbstractTableModel(parent) {}

    QVector<PanelRow> rows;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(rows.size()));
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : 2; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rows.size())
            return QVariant();
        if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::AccessibleTextRole) {
            const PanelRow &r = rows.at(index.row());
            return index.column() == 0 ? r.key : r.value;
        }
        return QVariant();
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        // The key column is fixed: it can be neither selected nor edited.
        if (!index.isValid() || index.column() == 0)
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (index.row() < rows.size()) {
            const PanelRow &r = rows.at(index.row());
            if (r.editStyle == PanelRow::EditStyle::PickList || !r.readOnly)
                f |= Qt::ItemIsEditable;
        }
        return f;
    }

    void rowChanged(int row) { Q_EMIT dataChanged(index(row, 0), index(row, 1)); }
    void reset(const std::function<void()> &change)
    {
        beginResetModel();
        change();
        endResetModel();
    }
    int append(const PanelRow &row)
    {
        const int n = static_cast<int>(rows.size());
        if (n == 0) {
            // The shown empty row becomes the first real row.
            rows.append(row);
            rowChanged(0);
        } else {
            beginInsertRows(QModelIndex(), n, n);
            rows.append(row);
            endInsertRows();
        }
        return n;
    }
};

// Paints the cells and makes the in-place editors.
class TValueListDelegate : public QStyledItemDelegate
{
public:
    explicit TValueListDelegate(TValueListEditor *grid) : QStyledItemDelegate(grid), FGrid(grid) {}

    QPointer<QComboBox> openCombo;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QPalette &pal = FGrid->palette();
        const bool selected = opt.state & QStyle::State_Selected;
        const bool currentRow = index.row() == FGrid->currentIndex().row();
        const int row = index.row();
        const PanelRow &r = row < FGrid->RowCount() ? FGrid->Row(row) : EmptyRow();

        QColor fill;
        QColor text;
        if (index.column() == 1) {
            fill = selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base);
            text = selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text);
            const bool silver = FGrid->SilverReadOnlyText() && r.readOnly
                                && r.editStyle != PanelRow::EditStyle::PickList;
            if (silver)
                text = SilverColour;
            if (currentRow) {
                fill = pal.color(QPalette::Base);
                text = silver ? SilverColour : QColor(Qt::black);
            }
        } else {
            fill = pal.color(QPalette::Button);
            text = pal.color(QPalette::ButtonText);
            if (currentRow) {
                if (FGrid->hasFocus()) {
                    fill = FocusKeyColour;
                } else {
                    fill = pal.color(QPalette::Base);
                    text = Qt::black;
                }
            }
        }
        painter->save();
        painter->fillRect(opt.rect, fill);
        painter->setPen(text);
        painter->setFont(opt.font);
        const QRect textRect = opt.rect.adjusted(2, 0, -2, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, textRect.width()));
        painter->restore();
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const int row = index.row();
        if (row >= FGrid->RowCount() || index.column() != 1)
            return nullptr;
        const PanelRow &r = FGrid->Row(row);
        if (r.editStyle == PanelRow::EditStyle::PickList) {
            auto *combo = new PickListCombo(parent);
            combo->setObjectName(QStringLiteral("PickListEditor"));
            combo->setAccessibleName(r.key);
            combo->setFrame(false);
            combo->addItems(r.pickList);
            auto *self = const_cast<TValueListDelegate *>(this);
            self->openCombo = combo;
            // A choice from the list is handed over at once.
            connect(combo, &QComboBox::activated, self, [self, combo](int) {
                Q_EMIT self->commitData(combo);
                Q_EMIT self->closeEditor(combo, QAbstractItemDelegate::NoHint);
            });
            return combo;
        }
        if (r.readOnly)
            return nullptr;
        auto *edit = new QLineEdit(parent);
        edit->setObjectName(QStringLiteral("ValueEditor"));
        edit->setAccessibleName(r.key);
        edit->setFrame(false);
        return edit;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QString value = FGrid->Value(index.row());
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            const int i = combo->findText(value, Qt::MatchFixedString | Qt::MatchCaseSensitive);
            combo->setCurrentIndex(i);
            if (i < 0)
                combo->setPlaceholderText(value);   // a value that is not one of the choices
        } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            edit->setText(value);
        }
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            if (combo->currentIndex() >= 0)
                FGrid->UserSetValue(index.row(), combo->currentText());
        } else if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            FGrid->UserSetValue(index.row(), edit->text());
        }
    }

    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        editor->setGeometry(option.rect);
    }

private:
    TValueListEditor *FGrid;
};

TValueListEditor::TValueListEditor(QWidget *parent) : QTableView(parent)
{
    FModel = new TValueListModel(this);
    FDelegate = new TValueListDelegate(this);
    setModel(FModel);
    setItemDelegate(FDelegate);

    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight + 1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    // The header is hidden, so the border is dragged on the grid itself.
    horizontalHeader()->resizeSection(0, DefaultKeyColumnWidth);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int) {
        if (section == 0)
            FitValueColumn();
    });
    // Moves without a button show the sizing cursor over the column border.
    viewport()->setMouseTracking(true);
    FitValueColumn();
    setCurrentIndex(FModel->index(0, 1));
}

TValueListEditor::~TValueListEditor() = default;

int TValueListEditor::RowCount() const
{
    return static_cast<int>(FModel->rows.size());
}

void TValueListEditor::Clear()
{
    if (state() == EditingState)
        EndEditing();
    FPendingValidateRow = -1;
    FModel->reset([this] { FModel->rows.clear(); });
    setCurrentIndex(FModel->index(0, 1));
    Q_EMIT StringsChange();
}

int TValueListEditor::AppendRow(const QString &key, const QString &value)
{
    PanelRow r;
    r.key = key;
    r.value = value;
    const int row = FModel->append(r);
    if (!currentIndex().isValid())
        setCurrentIndex(FModel->index(0, 1));
    Q_EMIT StringsChange();
    return row;
}

const PanelRow &TValueListEditor::Row(int row) const
{
    return row >= 0 && row < RowCount() ? FModel->rows.at(row) : EmptyRow();
}

QString TValueListEditor::Key(int row) const
{
    return Row(row).key;
}

QString TValueListEditor::Value(int row) const
{
    return Row(row).value;
}

void TValueListEditor::SetValue(int row, const QString &text)
{
    if (row < 0 || row >= RowCount())
        return;
    FModel->rows[row].value = text;
    FModel->rowChanged(row);
    Q_EMIT StringsChange();
}

int TValueListEditor::FindRow(const QString &key) const
{
    for (int i = 0; i < RowCount(); ++i)
        if (FModel->rows.at(i).key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TValueListEditor::IsReadOnly(int row) const
{
    return Row(row).readOnly;
}

void TValueListEditor::SetReadOnly(int row, bool readOnly)
{
    if (row < 0 || row >= RowCount())
        return;
    FModel->rows[row].readOnly = readOnly;
    FModel->rowChanged(row);
}

QStringList TValueListEditor::PickList(int row) const
{
    return Row(row).pickList;
}

void TValueListEditor::SetPickList(int row, const QStringList &items)
{
    if (row < 0 || row >= RowCount())
        return;
    FModel->rows[row].pickList = items;
    FModel->rowChanged(row);
}

PanelRow::EditStyle TValueListEditor::EditStyle(int row) const
{
    return Row(row).editStyle;
}

void TValueListEditor::SetEditStyle(int row, PanelRow::EditStyle style)
{
    if (row < 0 || row >= RowCount())
        return;
    FModel->rows[row].editStyle = style;
    FModel->rowChanged(row);
}

int TValueListEditor::CurrentRow() const
{
    if (RowCount() == 0 || !currentIndex().isValid())
        return -1;
    return currentIndex().row();
}

void TValueListEditor::SetCurrentRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    setCurrentIndex(FModel->index(row, 1));
}

int TValueListEditor::KeyColumnWidth() const
{
    return columnWidth(0);
}

void TValueListEditor::SetKeyColumnWidth(int width)
{
    setColumnWidth(0, width);
    FitValueColumn();
}

int TValueListEditor::ValueColumnWidth() const
{
    return columnWidth(1);
}

void TValueListEditor::SetSilverReadOnlyText(bool on)
{
    FSilverReadOnlyText = on;
    viewport()->update();
}

void TValueListEditor::RepaintCells()
{
    viewport()->update();
}

bool TValueListEditor::EditorMode() const
{
    return state() == EditingState;
}

void TValueListEditor::EndEditing()
{
    if (FInMouseDown)
        FPressCancelled = true;
    if (state() != EditingState)
        return;
    const QModelIndex index = currentIndex();
    if (QWidget *editor = indexWidget(index)) {
        Q_EMIT FDelegate->commitData(editor);
        Q_EMIT FDelegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    } else if (FDelegate->openCombo) {
        QWidget *combo = FDelegate->openCombo;
        Q_EMIT FDelegate->commitData(combo);
        Q_EMIT FDelegate->closeEditor(combo, QAbstractItemDelegate::NoHint);
    } else {
        // Focus the grid: the delegate hands over and closes an editor that loses the focus.
        setFocus(Qt::OtherFocusReason);
    }
}

bool TValueListEditor::OpenDropDown(int row)
{
    if (row < 0 || row >= RowCount() || EditStyle(row) != PanelRow::EditStyle::PickList)
        return false;
    SetCurrentRow(row);
    if (!isVisible())
        return false;
    setFocus(Qt::OtherFocusReason);
    if (!QTableView::edit(FModel->index(row, 1), AllEditTriggers, nullptr))
        return false;
    if (QComboBox *combo = FDelegate->openCombo) {
        combo->setFocus(Qt::OtherFocusReason);
        combo->showPopup();
        return true;
    }
    return false;
}

QComboBox *TValueListEditor::DropDown() const
{
    return state() == EditingState ? FDelegate->openCombo.data() : nullptr;
}

void TValueListEditor::UserSetValue(int row, const QString &text)
{
    if (row < 0 || row >= RowCount() || FModel->rows.at(row).value == text)
        return;
    FModel->rows[row].value = text;
    FModel->rowChanged(row);
    FPendingValidateRow = row;
    Q_EMIT StringsChange();
}

void TValueListEditor::FitValueColumn()
{
    const int width = viewport()->width() - columnWidth(0) - 2;
    setColumnWidth(1, std::max(1, width));
}

void TValueListEditor::FlushValidate()
{
    const int row = FPendingValidateRow;
    if (row < 0)
        return;
    FPendingValidateRow = -1;
    if (row < RowCount())
        Q_EMIT Validate(row, Value(row));
}

bool TValueListEditor::RowEditable(int row) const
{
    if (row < 0 || row >= RowCount())
        return false;
    const PanelRow &r = Row(row);
    return r.editStyle == PanelRow::EditStyle::PickList || !r.readOnly;
}

bool TValueListEditor::OnColumnBorder(int x) const
{
    return std::abs(x - columnWidth(0)) <= 2;
}

void TValueListEditor::mousePressEvent(QMouseEvent *event)
{
    const bool onBorder = event->button() == Qt::LeftButton && OnColumnBorder(event->position().toPoint().x());
    FPressCancelled = false;
    FInMouseDown = true;
    Q_EMIT MouseDown(event->button(), event->position().toPoint());
    FInMouseDown = false;
    if (onBorder) {
        // The header is hidden, so the column border is dragged on the cells themselves.
        FSizingColumn = true;
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    if (FPressCancelled) {
        // The handler refused the press: no cell editor, but the grid still takes the focus.
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || index.column() != 1 || !RowEditable(index.row()))
        return;
    // A press on a value cell opens its editor; a pick list opens straight into its list.
    if (state() != EditingState && QTableView::edit(index, AllEditTriggers, event)) {
        if (QComboBox *combo = FDelegate->openCombo) {
            QPointer<QComboBox> guard(combo);
            QTimer::singleShot(0, combo, [guard] {
                if (guard)
                    guard->showPopup();
            });
        }
    }
}

void TValueListEditor::mouseReleaseEvent(QMouseEvent *event)
{
    if (FSizingColumn && event->button() == Qt::LeftButton)
        FSizingColumn = false;
    else
        QTableView::mouseReleaseEvent(event);
    if (rect().contains(event->position().toPoint()) && event->button() == Qt::LeftButton)
        Q_EMIT Click();
}

void TValueListEditor::mouseMoveEvent(QMouseEvent *event)
{
    const int x = event->position().toPoint().x();
    if (FSizingColumn) {
        // The value column follows (sectionResized); it keeps at least one pixel.
        setColumnWidth(0, std::clamp(x, 1, std::max(1, viewport()->width() - 3)));
        event->accept();
        return;
    }
    if (OnColumnBorder(x))
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableView::mouseMoveEvent(event);
}

void TValueListEditor::keyboardSearch(const QString &)
{
    // Typed letters that open no editor must not move the current row either.
}

void TValueListEditor::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TValueListEditor::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
    // Focus moving into our own editor is not leaving the grid.
    QWidget *focus = QApplication::focusWidget();
    if (!(focus && isAncestorOf(focus)))
        FlushValidate();
}

void TValueListEditor::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    FitValueColumn();
}

bool TValueListEditor::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    // Typing never goes into a pick-list row.
    if (trigger == AnyKeyPressed && index.isValid() && index.row() < RowCount()
        && EditStyle(index.row()) == PanelRow::EditStyle::PickList)
        return false;
    return QTableView::edit(index, trigger, event);
}

void TValueListEditor::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (current.isValid() && current.column() != 1) {
        setCurrentIndex(FModel->index(current.row(), 1));
        return;
    }
    QTableView::currentChanged(current, previous);
    viewport()->update();
    if (current != previous && previous.isValid())
        FlushValidate();
}

void TValueListEditor::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    viewport()->update();
    // An editor that lost the focus to another control: the grid has been left.
    QWidget *focus = QApplication::focusWidget();
    if (focus != this && !(focus && isAncestorOf(focus)))
        FlushValidate();
}

QModelIndex TValueListEditor::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex index = QTableView::moveCursor(cursorAction, modifiers);
    if (!index.isValid())
        return index;
    return FModel->index(index.row(), 1);
}
