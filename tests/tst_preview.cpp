#include "app/TMainForm.h"
#include "preview/TPreviewPanel.h"
#include "preview/TPreviewTrackBar.h"
#include "tasks/TimeText.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/TestApp.h"

#include <QLabel>
#include <QMediaPlayer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

namespace {

// Media takes its time to start on a loaded machine; these only bound a hang.
constexpr int StartTimeout = 30000;

// A task list with the preview panel beside it, shown offscreen.
struct PreviewFixture
{
    explicit PreviewFixture(const QStringList &paths)
    {
        auto *column = new QVBoxLayout(&window);
        list = new QTreeWidget(&window);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (const QString &path : paths)
            (new QTreeWidgetItem(list))->setText(0, path);
        panel = new TPreviewPanel(list, &window);
        column->addWidget(list);
        column->addWidget(panel);
        window.resize(200, 400);
        window.show();
    }

    QMediaPlayer *player() const { return panel->FilterGraph; }
    QMediaPlayer::PlaybackState state() const { return player() ? player()->playbackState() : QMediaPlayer::StoppedState; }
    qint64 position() const { return player() ? player()->position() : 0; }

    QWidget window;
    QTreeWidget *list = nullptr;
    TPreviewPanel *panel = nullptr;
};

// Drags the seek bar's thumb to the given value with the mouse and lets it go.
void DragThumbTo(TPreviewTrackBar *bar, int value)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.tickPosition = bar->tickPosition();
    option.subControls = QStyle::SC_All;
    const QRect handle = bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, bar);
    const QRect groove = bar->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, bar);
    const int span = groove.width() - handle.width();
    const int targetX = groove.left() + handle.width() / 2
                        + QStyle::sliderPositionFromValue(bar->minimum(), bar->maximum(), value, span);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, handle.center());
    QTest::mouseMove(bar, QPoint((handle.center().x() + targetX) / 2, handle.center().y()));
    QTest::mouseMove(bar, QPoint(targetX, handle.center().y()));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(targetX, handle.center().y()));
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void startsEmpty();
    void playWithoutSelectionPlaysFirstRow_data();
    void playWithoutSelectionPlaysFirstRow();
    void playUsesFirstSelectedRowInListOrder();
    void pauseAndResume();
    void stopThenPauseDoesNothing();
    void playStartsFromTheBeginning_data();
    void playStartsFromTheBeginning();
    void seekByTheBar();
    void unplayableFileStaysStill();
    void playWithEmptyListDoesNothing();
    void mainFormOpensAndRunStopsPreview();

private:
    QString clip(const QString &name) const { return FClips.filePath(name); }
    QTemporaryDir FClips;
};

void TestPreview::initTestCase()
{
    QVERIFY(FClips.isValid());
    const QStringList lowRate{QStringLiteral("-b:v"), QStringLiteral("200k")};
    QVERIFY(MakeClip(clip(QStringLiteral("clip.mp4")), 6, QStringLiteral("160x120"),
                     QStringList{QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-pix_fmt"),
                                 QStringLiteral("yuv420p"), QStringLiteral("-c:a"), QStringLiteral("aac")}));
    QVERIFY(MakeClip(clip(QStringLiteral("vp9.webm")), 6, QStringLiteral("160x120"),
                     QStringList{QStringLiteral("-c:v"), QStringLiteral("libvpx-vp9"), QStringLiteral("-deadline"),
                                 QStringLiteral("realtime"), QStringLiteral("-c:a"), QStringLiteral("libopus")}
                         + lowRate));
    QVERIFY(MakeClip(clip(QStringLiteral("vp8.webm")), 6, QStringLiteral("160x120"),
                     QStringList{QStringLiteral("-c:v"), QStringLiteral("libvpx"), QStringLiteral("-deadline"),
                                 QStringLiteral("realtime"), QStringLiteral("-c:a"), QStringLiteral("libvorbis")}
                         + lowRate));
    QFile broken(clip(QStringLiteral("broken.mp4")));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("This is a text file, not a video.\n");
}

void TestPreview::startsEmpty()
{
    PreviewFixture f({clip(QStringLiteral("clip.mp4"))});
    // The media framework is made on the first preview only.
    QVERIFY(!f.player());
    QCOMPARE(f.panel->labPreviewTime->text(), QStringLiteral("00:00:00"));
    QVERIFY(!f.panel->IsShowingVideo());
    QCOMPARE(f.panel->sbtnPlay->accessibleName(), QStringLiteral("Play"));
    QCOMPARE(f.panel->sbtnPause->toolTip(), QStringLiteral("Pause / Resume"));
    QCOMPARE(f.panel->sbtnStop->accessibleName(), QStringLiteral("Stop"));
    QCOMPARE(f.panel->sbtnPlay->geometry().size(), QSize(39, 22));
    QCOMPARE(f.panel->TrackBar->height(), 21);
    QCOMPARE(f.panel->labPreviewTime->width(), 57);
}

void TestPreview::playWithoutSelectionPlaysFirstRow_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("mp4 h264 aac") << QStringLiteral("clip.mp4");
    QTest::newRow("webm vp9 opus") << QStringLiteral("vp9.webm");
    QTest::newRow("webm vp8 vorbis") << QStringLiteral("vp8.webm");
}

void TestPreview::playWithoutSelectionPlaysFirstRow()
{
    QFETCH(QString, file);
    PreviewFixture f({clip(file), clip(QStringLiteral("clip.mp4"))});
    // Every tick floors the playing position to whole seconds and the label shows that.
    QList<qint64> tickErrors;
    QObject::connect(f.panel->TrackBar, &TPreviewTrackBar::Timer, f.panel, [&](qint64 current, qint64 stop) {
        if (current != f.player()->position() / 1000 || stop != f.player()->duration() / 1000
            || f.panel->TrackBar->value() != current || f.panel->TrackBar->maximum() != stop)
            tickErrors << current;
    });

    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);

    QVERIFY(f.list->topLevelItem(0)->isSelected());
    QVERIFY(!f.list->topLevelItem(1)->isSelected());
    QVERIFY(f.player());
    QCOMPARE(f.player()->source().toLocalFile(), clip(file));
    QTRY_COMPARE_WITH_TIMEOUT(f.state(), QMediaPlayer::PlayingState, StartTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(f.position() > 1500, StartTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(f.panel->IsShowingVideo(), StartTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(f.panel->labPreviewTime->text() != QStringLiteral("00:00:00"), StartTimeout);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(f.panel->labPreviewTime->text()).hasMatch());
    QCOMPARE(f.panel->TrackBar->maximum(), 6);
    QVERIFY(tickErrors.isEmpty());
}

void TestPreview::playUsesFirstSelectedRowInListOrder()
{
    PreviewFixture f({clip(QStringLiteral("vp8.webm")), clip(QStringLiteral("clip.mp4")), clip(QStringLiteral("vp9.webm"))});
    f.list->topLevelItem(2)->setSelected(true);
    f.list->topLevelItem(1)->setSelected(true);
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QCOMPARE(f.player()->source().toLocalFile(), clip(QStringLiteral("clip.mp4")));
    QVERIFY(!f.list->topLevelItem(0)->isSelected());
    QTRY_COMPARE_WITH_TIMEOUT(f.state(), QMediaPlayer::PlayingState, StartTimeout);
}

void TestPreview::pauseAndResume()
{
    PreviewFixture f({clip(QStringLiteral("clip.mp4"))});
    // Before any file was opened Pause / Resume has nothing to act on.
    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QVERIFY(!f.player());

    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.state() == QMediaPlayer::PlayingState && f.position() > 500, StartTimeout);
    QVERIFY(f.panel->TrackBar->IsTicking());

    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QCOMPARE(f.state(), QMediaPlayer::PausedState);
    QVERIFY(!f.panel->TrackBar->IsTicking());
    QTest::qWait(300);
    const qint64 pausedAt = f.position();
    const QString label = f.panel->labPreviewTime->text();
    QTest::qWait(1500);
    QVERIFY2(qAbs(f.position() - pausedAt) < 100, qPrintable(QString::number(f.position() - pausedAt)));
    QCOMPARE(f.panel->labPreviewTime->text(), label);

    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QCOMPARE(f.state(), QMediaPlayer::PlayingState);
    QVERIFY(f.panel->TrackBar->IsTicking());
    QTRY_VERIFY_WITH_TIMEOUT(f.position() > pausedAt + 500, StartTimeout);
}

void TestPreview::stopThenPauseDoesNothing()
{
    PreviewFixture f({clip(QStringLiteral("vp9.webm"))});
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.panel->labPreviewTime->text() != QStringLiteral("00:00:00"), StartTimeout);
    const QString label = f.panel->labPreviewTime->text();

    QTest::mouseClick(f.panel->sbtnStop, Qt::LeftButton);
    QCOMPARE(f.state(), QMediaPlayer::StoppedState);
    QVERIFY(!f.panel->TrackBar->IsTicking());
    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QCOMPARE(f.state(), QMediaPlayer::StoppedState);
    QTest::qWait(1500);
    QCOMPARE(f.state(), QMediaPlayer::StoppedState);
    // The file stays loaded and the label keeps its last tick.
    QCOMPARE(f.player()->source().toLocalFile(), clip(QStringLiteral("vp9.webm")));
    QCOMPARE(f.panel->labPreviewTime->text(), label);
}

void TestPreview::playStartsFromTheBeginning_data()
{
    QTest::addColumn<bool>("stop");
    QTest::newRow("after Stop") << true;
    QTest::newRow("after Pause") << false;
}

void TestPreview::playStartsFromTheBeginning()
{
    QFETCH(bool, stop);
    PreviewFixture f({clip(QStringLiteral("clip.mp4"))});
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.position() > 2500, StartTimeout);
    QTest::mouseClick(stop ? f.panel->sbtnStop : f.panel->sbtnPause, Qt::LeftButton);

    QSignalSpy positions(f.player(), &QMediaPlayer::positionChanged);
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(f.state(), QMediaPlayer::PlayingState, StartTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(f.position() > 500, StartTimeout);
    qint64 earliestPlaying = -1;
    for (const QList<QVariant> &signal : positions) {
        const qint64 at = signal.at(0).toLongLong();
        if (at > 0) {
            earliestPlaying = at;
            break;
        }
    }
    QVERIFY2(earliestPlaying > 0 && earliestPlaying < 1500, qPrintable(QString::number(earliestPlaying)));
}

void TestPreview::seekByTheBar()
{
    PreviewFixture f({clip(QStringLiteral("vp8.webm"))});
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.panel->TrackBar->maximum() == 6, StartTimeout);
    // Paused, the position moves only by the seek.
    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QTest::qWait(300);
    const qint64 before = f.position();
    QVERIFY(before < 3000);

    DragThumbTo(f.panel->TrackBar, 4);
    QCOMPARE(f.panel->TrackBar->value(), 4);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(f.position() - 4000) < 300, StartTimeout);
    QCOMPARE(f.state(), QMediaPlayer::PausedState);
}

void TestPreview::unplayableFileStaysStill()
{
    PreviewFixture f({clip(QStringLiteral("broken.mp4")), clip(QStringLiteral("vp8.webm"))});
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QVERIFY(f.player());
    QTRY_COMPARE_WITH_TIMEOUT(f.player()->mediaStatus(), QMediaPlayer::InvalidMedia, StartTimeout);
    QTest::qWait(1500);
    QCOMPARE(f.position(), 0);
    QVERIFY(!f.panel->IsShowingVideo());
    QCOMPARE(f.panel->labPreviewTime->text(), QStringLiteral("00:00:00"));
    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QTest::mouseClick(f.panel->sbtnStop, Qt::LeftButton);
    // A bar with no length seeks nowhere.
    DragThumbTo(f.panel->TrackBar, 0);
    QCOMPARE(f.position(), 0);

    // The player recovers for the next file.
    f.list->topLevelItem(0)->setSelected(false);
    f.list->topLevelItem(1)->setSelected(true);
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.state() == QMediaPlayer::PlayingState && f.position() > 500, StartTimeout);
}

void TestPreview::playWithEmptyListDoesNothing()
{
    PreviewFixture f({});
    QTest::mouseClick(f.panel->sbtnPlay, Qt::LeftButton);
    QTest::mouseClick(f.panel->sbtnPause, Qt::LeftButton);
    QTest::mouseClick(f.panel->sbtnStop, Qt::LeftButton);
    f.panel->OpenPreview();
    QVERIFY(!f.player());
    QCOMPARE(f.panel->labPreviewTime->text(), QStringLiteral("00:00:00"));
}

void TestPreview::mainFormOpensAndRunStopsPreview()
{
    ProgramFolder folder;
    TestServices ts;
    TMainForm form(folder.path(), ts.services, {clip(QStringLiteral("clip.mp4"))});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Preview->parentWidget(), form.panPreview);
    QCOMPARE(form.ltvTask->topLevelItemCount(), 1);
    QVERIFY(!form.Preview->FilterGraph);

    form.ltvTask->topLevelItem(0)->setSelected(true);
    form.OpenPreview();
    QMediaPlayer *player = form.Preview->FilterGraph;
    QVERIFY(player);
    QTRY_VERIFY_WITH_TIMEOUT(player->playbackState() == QMediaPlayer::PlayingState && player->position() > 500,
                             StartTimeout);

    form.DisableCommands();
    QCOMPARE(player->playbackState(), QMediaPlayer::StoppedState);
    // During a run the list is disabled, yet the preview still plays the selected row.
    QVERIFY(!form.ltvTask->isEnabled());
    QVERIFY(form.Preview->sbtnPlay->isEnabled() && form.Preview->sbtnPlay->isVisible());
    QTest::mouseClick(form.Preview->sbtnPlay, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(player->playbackState() == QMediaPlayer::PlayingState && player->position() > 500,
                             StartTimeout);
    form.EnableCommands();
    QVERIFY(ts.messages.boxes.isEmpty());
}

TESSIVO_TEST_MAIN(TestPreview)
#include "tst_preview.moc"
