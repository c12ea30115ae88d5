#include "platform/TValueListEditor.h"
#include "tests/support/TestApp.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <memory>

namespace {

// A window with a grid and a line edit to take the focus away from it.
struct GridWindow
{
    QWidget window;
    TValueListEditor *grid = nullptr;
    QLineEdit *other = nullptr;

    GridWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        grid = new TValueListEditor;
        other = new QLineEdit;
        layout->addWidget(grid);
        layout->addWidget(other);
        grid->setFixedSize(200, 4 * 18);
        // Rows: free text, read-only free text, pick list (read-only like every pick list).
        grid->AppendRow(QStringLiteral("Name"), QStringLiteral("clip"));
        grid->AppendRow(QStringLiteral("Fixed"), QStringLiteral("WWWWWW"));
        grid->SetReadOnly(1, true);
        grid->AppendRow(QStringLiteral("Video Size"), QStringLiteral("Original Size"));
        grid->SetPickList(2, {QStringLiteral("Original Size"), QStringLiteral("Small"), QStringLiteral("Custom Size")});
        grid->SetEditStyle(2, PanelRow::EditStyle::PickList);
        grid->SetReadOnly(2, true);
    }

    bool show()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    QPoint cellCentre(int row, int column) const
    {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
    QColor pixel(int row, int column, int dx = 3) const
    {
        const QRect r = grid->visualRect(grid->model()->index(row, column));
        const QImage image = grid->viewport()->grab().toImage();
        return image.pixelColor(r.right() - dx, r.top() + 2);
    }
    // Pixels of one cell's inner area.
    QList<QColor> cellPixels(int row, int column) const
    {
        const QRect r = grid->visualRect(grid->model()->index(row, column)).adjusted(1, 1, -2, -2);
        const QImage image = grid->viewport()->grab().toImage();
        QList<QColor> colours;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                colours << image.pixelColor(x, y);
        return colours;
    }
};

} // namespace

class TestValueListEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyGridShowsOneEmptyRow();
    void rowsAndFindRow();
    void stringsChangeOnEveryContentChange();
    void geometry();
    void dragColumnBorder();
    void typingBlocked_data();
    void typingBlocked();
    void typingIntoFreeText();
    void validateWhenLeavingEditedCell();
    void noValidateWithoutChange();
    void dropDownChoiceChangesValue();
    void pressOnPickListOpensDropDown();
    void mouseDownHandlerCanRefuseEditor();
    void keyCellColourFollowsFocus();
    void currentValueCellOnWindowColour();
    void silverReadOnlyText();
};

void TestValueListEditor::emptyGridShowsOneEmptyRow()
{
    TValueListEditor grid;
    QCOMPARE(grid.RowCount(), 0);
    QCOMPARE(grid.model()->rowCount(), 1);
    QCOMPARE(grid.CurrentRow(), -1);
    QCOMPARE(grid.Key(0), QString());
    QVERIFY(!(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable));

    grid.AppendRow(QStringLiteral("A"), QStringLiteral("1"));
    QCOMPARE(grid.model()->rowCount(), 1);
    QCOMPARE(grid.CurrentRow(), 0);
    grid.Clear();
    QCOMPARE(grid.RowCount(), 0);
    QCOMPARE(grid.model()->rowCount(), 1);
    grid.Clear();   // clearing an empty grid is harmless
    QCOMPARE(grid.model()->rowCount(), 1);
}

void TestValueListEditor::rowsAndFindRow()
{
    TValueListEditor grid;
    QCOMPARE(grid.AppendRow(QStringLiteral("Video Size"), QStringLiteral("a")), 0);
    QCOMPARE(grid.AppendRow(QStringLiteral("Bit Rate"), QStringLiteral("b")), 1);
    QCOMPARE(grid.AppendRow(QStringLiteral("VIDEO SIZE"), QStringLiteral("c")), 2);
    QCOMPARE(grid.FindRow(QStringLiteral("video size")), 0);
    QCOMPARE(grid.FindRow(QStringLiteral("BIT rate")), 1);
    QCOMPARE(grid.FindRow(QStringLiteral("Bit Rat")), -1);
    QCOMPARE(grid.Value(2), QStringLiteral("c"));
    grid.SetValue(1, QStringLiteral("x"));
    QCOMPARE(grid.Value(1), QStringLiteral("x"));
    QCOMPARE(grid.model()->data(grid.model()->index(1, 1)).toString(), QStringLiteral("x"));
    QCOMPARE(grid.CurrentRow(), 0);
    grid.SetCurrentRow(2);
    QCOMPARE(grid.CurrentRow(), 2);
    QCOMPARE(grid.currentIndex().column(), 1);
    QCOMPARE(grid.Value(7), QString());
}

void TestValueListEditor::stringsChangeOnEveryContentChange()
{
    TValueListEditor grid;
    QSignalSpy spy(&grid, &TValueListEditor::StringsChange);
    grid.AppendRow(QStringLiteral("A"), QString());
    grid.SetValue(0, QStringLiteral("1"));
    grid.SetValue(0, QStringLiteral("1"));
    grid.Clear();
    QCOMPARE(spy.count(), 4);
}

void TestValueListEditor::geometry()
{
    GridWindow w;
    QVERIFY(w.show());
    QCOMPARE(w.grid->rowHeight(0), TValueListEditor::DefaultRowHeight + 1);
    QCOMPARE(w.grid->KeyColumnWidth(), 95);
    QCOMPARE(w.grid->ValueColumnWidth(), 200 - 95 - 2);
    w.grid->setFixedWidth(300);
    QTRY_COMPARE(w.grid->ValueColumnWidth(), 300 - 95 - 2);
    w.grid->SetKeyColumnWidth(160);
    QCOMPARE(w.grid->ValueColumnWidth(), 300 - 160 - 2);
    QVERIFY(w.grid->horizontalHeader()->sectionResizeMode(0) == QHeaderView::Interactive);
    QCOMPARE(w.grid->frameShape(), QFrame::NoFrame);
    QVERIFY(w.grid->showGrid());
}

void TestValueListEditor::dragColumnBorder()
{
    GridWindow w;
    QVERIFY(w.show());
    QSignalSpy presses(w.grid, &TValueListEditor::MouseDown);
    QWidget *cells = w.grid->viewport();
    const int y = w.cellCentre(0, 0).y();
    QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(95, y));
    QTest::mouseMove(cells, QPoint(130, y));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(130, y));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(w.grid->KeyColumnWidth(), 130);
    QCOMPARE(w.grid->ValueColumnWidth(), 200 - 130 - 2);
    // A press on the border drags it and opens no editor.
    QVERIFY(!w.grid->EditorMode());
    QCOMPARE(w.grid->Value(0), QStringLiteral("clip"));

    // Narrower again; the value column never vanishes.
    QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(131, y));
    QTest::mouseMove(cells, QPoint(60, y));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(60, y));
    QCOMPARE(w.grid->KeyColumnWidth(), 60);
    QCOMPARE(w.grid->ValueColumnWidth(), 200 - 60 - 2);
    QTest::mousePress(cells, Qt::LeftButton, {}, QPoint(60, y));
    QTest::mouseMove(cells, QPoint(400, y));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, QPoint(400, y));
    QVERIFY(w.grid->ValueColumnWidth() >= 1);
    QVERIFY(w.grid->KeyColumnWidth() + w.grid->ValueColumnWidth() <= 200);

    // Away from the border a press still edits the value.
    w.grid->SetKeyColumnWidth(95);
    QTest::mouseClick(cells, Qt::LeftButton, {}, w.cellCentre(0, 1));
    QVERIFY(w.grid->EditorMode());
}

void TestValueListEditor::typingBlocked_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("read-only free text") << 1;
    QTest::newRow("pick list") << 2;
}

void TestValueListEditor::typingBlocked()
{
    QFETCH(int, row);
    GridWindow w;
    QVERIFY(w.show());
    const QString before = w.grid->Value(row);
    w.grid->setFocus();
    w.grid->SetCurrentRow(row);
    QSignalSpy spy(w.grid, &TValueListEditor::StringsChange);
    QTest::keyClicks(w.grid, QStringLiteral("Small"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(w.grid->Value(row), before);
    QCOMPARE(w.grid->CurrentRow(), row);
    QCOMPARE(spy.count(), 0);

    // A double-click on a read-only free-text cell opens nothing either; on the pick list the
    // open drop-down still takes no typed letters.
    QTest::mouseDClick(w.grid->viewport(), Qt::LeftButton, {}, w.cellCentre(row, 1));
    if (QComboBox *combo = w.grid->DropDown()) {
        combo->hidePopup();
        QTest::keyClicks(combo, QStringLiteral("Custom"));
        QCOMPARE(combo->currentText(), before);
    } else {
        QVERIFY(!w.grid->EditorMode());
    }
    w.other->setFocus();
    QCOMPARE(w.grid->Value(row), before);
    QCOMPARE(spy.count(), 0);
}

void TestValueListEditor::typingIntoFreeText()
{
    GridWindow w;
    QVERIFY(w.show());
    w.grid->setFocus();
    w.grid->SetCurrentRow(0);
    QTest::keyClick(w.grid, Qt::Key_F2);
    QVERIFY(w.grid->EditorMode());
    auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("movie"));
    QTest::keyClick(edit, Qt::Key_Return);
    // The editor hands its text over once the key has been processed.
    QTRY_COMPARE(w.grid->Value(0), QStringLiteral("movie"));
    QVERIFY(!w.grid->EditorMode());
}

void TestValueListEditor::validateWhenLeavingEditedCell()
{
    GridWindow w;
    QVERIFY(w.show());
    QSignalSpy validate(w.grid, &TValueListEditor::Validate);
    QSignalSpy changed(w.grid, &TValueListEditor::StringsChange);

    // Typed, Enter, then moving to another row.
    w.grid->setFocus();
    w.grid->SetCurrentRow(0);
    QTest::keyClick(w.grid, Qt::Key_F2);
    auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(edit);
    edit->setText(QString());
    QTest::keyClicks(edit, QStringLiteral("new"));
    QTest::keyClick(edit, Qt::Key_Return);
    QTRY_COMPARE(changed.count(), 1);
    QCOMPARE(validate.count(), 0);
    QTest::keyClick(w.grid, Qt::Key_Down);
    QCOMPARE(validate.count(), 1);
    QCOMPARE(validate.at(0).at(0).toInt(), 0);
    QCOMPARE(validate.at(0).at(1).toString(), QStringLiteral("new"));

    // Typed, then the focus goes to another control straight from the editor.
    w.grid->SetCurrentRow(0);
    QTest::keyClick(w.grid, Qt::Key_F2);
    edit = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    QVERIFY(edit);
    edit->setText(QStringLiteral("other"));
    w.other->setFocus();
    QTRY_COMPARE(validate.count(), 2);
    QCOMPARE(validate.at(1).at(1).toString(), QStringLiteral("other"));
    QCOMPARE(w.grid->Value(0), QStringLiteral("other"));
}

void TestValueListEditor::noValidateWithoutChange()
{
    GridWindow w;
    QVERIFY(w.show());
    QSignalSpy validate(w.grid, &TValueListEditor::Validate);
    w.grid->setFocus();
    w.grid->SetCurrentRow(0);
    QTest::keyClick(w.grid, Qt::Key_F2);
    QVERIFY(w.grid->EditorMode());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!w.grid->EditorMode());
    QTest::keyClick(w.grid, Qt::Key_Down);
    w.other->setFocus();
    QCOMPARE(validate.count(), 0);
}

void TestValueListEditor::dropDownChoiceChangesValue()
{
    GridWindow w;
    QVERIFY(w.show());
    QSignalSpy changed(w.grid, &TValueListEditor::StringsChange);
    QVERIFY(!w.grid->OpenDropDown(0));   // not a pick list
    QVERIFY(w.grid->OpenDropDown(2));
    QCOMPARE(w.grid->CurrentRow(), 2);
    QComboBox *combo = w.grid->DropDown();
    QVERIFY(combo);
    QTRY_VERIFY(combo->view()->isVisible());
    QCOMPARE(combo->count(), 3);
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Down);
    QTest::keyClick(combo->view(), Qt::Key_Return);
    QCOMPARE(w.grid->Value(2), QStringLiteral("Custom Size"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!w.grid->EditorMode());
    QVERIFY(w.grid->IsReadOnly(2));
}

void TestValueListEditor::pressOnPickListOpensDropDown()
{
    GridWindow w;
    QVERIFY(w.show());
    QSignalSpy changed(w.grid, &TValueListEditor::StringsChange);
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, w.cellCentre(2, 1));
    QCOMPARE(w.grid->CurrentRow(), 2);
    QComboBox *combo = w.grid->DropDown();
    QVERIFY(combo);
    QTRY_VERIFY(combo->view()->isVisible());
    const QModelIndex small = combo->model()->index(1, 0);
    QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, combo->view()->visualRect(small).center());
    QTRY_COMPARE(w.grid->Value(2), QStringLiteral("Small"));
    QCOMPARE(changed.count(), 1);

    // A value that is not among the choices (a custom size) stays shown until a choice is made.
    w.grid->SetValue(2, QStringLiteral("640x480"));
    QVERIFY(w.grid->OpenDropDown(2));
    QTRY_VERIFY(w.grid->DropDown()->view()->isVisible());
    w.grid->DropDown()->hidePopup();
    w.other->setFocus();
    QTRY_VERIFY(!w.grid->EditorMode());
    QCOMPARE(w.grid->Value(2), QStringLiteral("640x480"));
}

void TestValueListEditor::mouseDownHandlerCanRefuseEditor()
{
    GridWindow w;
    QVERIFY(w.show());
    QSignalSpy clicks(w.grid, &TValueListEditor::Click);
    QSignalSpy presses(w.grid, &TValueListEditor::MouseDown);
    bool refuse = true;
    QObject::connect(w.grid, &TValueListEditor::MouseDown, w.grid, [&] {
        if (refuse)
            w.grid->EndEditing();
    });
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, w.cellCentre(0, 1));
    QCOMPARE(presses.count(), 1);
    QCOMPARE(clicks.count(), 1);
    QVERIFY(!w.grid->EditorMode());

    refuse = false;
    QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, {}, w.cellCentre(0, 1));
    QVERIFY(w.grid->EditorMode());
    QVERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
}

void TestValueListEditor::keyCellColourFollowsFocus()
{
    GridWindow w;
    QVERIFY(w.show());
    const QColor window = w.grid->palette().color(QPalette::Base);
    w.grid->setFocus();
    QTRY_VERIFY(w.grid->hasFocus());
    QCOMPARE(w.pixel(0, 0), QColor(49, 106, 197));
    QCOMPARE(w.pixel(1, 0), w.grid->palette().color(QPalette::Button));

    w.other->setFocus();
    QTRY_VERIFY(!w.grid->hasFocus());
    QCOMPARE(w.pixel(0, 0), window);

    // While the grid's own editor is open, the key cell is not marked either.
    w.grid->setFocus();
    QTest::keyClick(w.grid, Qt::Key_F2);
    QVERIFY(w.grid->EditorMode());
    QCOMPARE(w.pixel(0, 0), window);
}

void TestValueListEditor::currentValueCellOnWindowColour()
{
    GridWindow w;
    QVERIFY(w.show());
    w.grid->setFocus();
    w.grid->SetCurrentRow(2);
    const QColor window = w.grid->palette().color(QPalette::Base);
    QCOMPARE(w.pixel(2, 1), window);
    QCOMPARE(w.pixel(2, 0), QColor(49, 106, 197));
    QCOMPARE(w.pixel(0, 0), w.grid->palette().color(QPalette::Button));
    // The current value's text is black.
    bool black = false;
    for (const QColor &c : w.cellPixels(2, 1))
        black = black || c == QColor(Qt::black);
    QVERIFY(black);
}

void TestValueListEditor::silverReadOnlyText()
{
    GridWindow w;
    QVERIFY(w.show());
    auto darkest = [&](int row) {
        int value = 255;
        bool silver = false;
        for (const QColor &c : w.cellPixels(row, 1)) {
            value = std::min(value, c.value());
            silver = silver || c == QColor(192, 192, 192);
        }
        return std::make_pair(value, silver);
    };
    for (int current : {0, 1}) {
        w.grid->SetCurrentRow(current);
        const auto [value, silver] = darkest(1);
        QVERIFY2(silver, "read-only text is silver");
        QVERIFY2(value >= 192, "read-only text is not darker than silver");
    }
    // Editable free text and pick lists are black.
    QVERIFY(darkest(0).first < 100);
    QVERIFY(darkest(2).first < 100);

    w.grid->SetSilverReadOnlyText(false);
    w.grid->SetCurrentRow(0);
    QVERIFY(darkest(1).first < 100);
}

TESSIVO_TEST_MAIN(TestValueListEditor)
#include "tst_valuelisteditor.moc"
