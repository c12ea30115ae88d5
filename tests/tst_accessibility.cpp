#include "app/TMainForm.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>

// Screen readers and desktop automation find every control by its name.
class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlIsNamed();
};

namespace {

// Parts that Qt builds inside its own composite controls (a drop-down's list, a tab bar's
// scroll arrows, a grid's cell editor) are named by those controls.
bool InsideCompositeControl(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QTabBar *>(p) || qobject_cast<const QAbstractItemView *>(p))
            return true;
        if (p->inherits("QComboBoxPrivateContainer"))
            return true;
    }
    return false;
}

bool IsControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QLineEdit *>(w)
           || qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractItemView *>(w)
           || qobject_cast<const QProgressBar *>(w) || qobject_cast<const QSlider *>(w)
           || qobject_cast<const QTabWidget *>(w);
}

} // namespace

void TestAccessibility::everyControlIsNamed()
{
    ProgramFolder folder;
    folder.copyShippedProfiles();
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QStringList unnamed;
    QList<QWidget *> windows{&form};
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (w->isWindow())
            windows << w;
    }
    for (QWidget *window : std::as_const(windows)) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            // Qt names the helpers it adds itself "qt_..." (a toolbar's overflow button).
            if (!IsControl(w) || InsideCompositeControl(w) || w->objectName().startsWith(QLatin1String("qt_")))
                continue;
            if (w->objectName().isEmpty() || w->accessibleName().isEmpty())
                unnamed << QStringLiteral("%1 '%2' in %3").arg(QString::fromLatin1(w->metaObject()->className()),
                                                             w->objectName(), window->objectName());
        }
    }
    unnamed.removeDuplicates();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral("\n"))));
}

TESSIVO_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
