#include "preview/TPreviewPanel.h"

#include "preview/PreviewPictures.h"
#include "preview/TPreviewTrackBar.h"
#include "tasks/TimeText.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>
#include <QVideoWidget>

namespace {

QToolButton *PictureButton(QWidget *parent, const QString &name, const QString &hint, const QIcon &icon, int left)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    // The button row starts below the 21-pixel seek bar of the 54-pixel button bar.
    button->setGeometry(left, 26 - 21, 39, 22);
    return button;
}

void PaintBlack(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Qt::black);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TPreviewPanel::TPreviewPanel(QTreeWidget *taskList, QWidget *parent)
    : QWidget(parent)
    , FTaskList(taskList)
{
    setObjectName(QStringLiteral("PreviewPanel"));
    setAccessibleName(QStringLiteral("Preview"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Video area: the own picture until a file's video shows, with a spacer on its right.
    auto *videoRow = new QHBoxLayout;
    videoRow->setContentsMargins(0, 0, 0, 0);
    videoRow->setSpacing(0);
    FVideoArea = new QStackedWidget(this);
    FVideoArea->setMinimumSize(40, 30);
    PaintBlack(FVideoArea);
    FIdleArea = new QWidget(FVideoArea);
    FIdleArea->setObjectName(QStringLiteral("VideoWindow1Picture"));
    PaintBlack(FIdleArea);
    auto *picture = new QLabel(FIdleArea);
    picture->setObjectName(QStringLiteral("imgPreview"));
    picture->setPixmap(PreviewPictures::IdlePicture());
    picture->setGeometry(25, 31, 136, 63);
    VideoWindow1 = new QVideoWidget(FVideoArea);
    VideoWindow1->setObjectName(QStringLiteral("VideoWindow1"));
    VideoWindow1->setAccessibleName(QStringLiteral("Video"));
    PaintBlack(VideoWindow1);
    FVideoArea->addWidget(FIdleArea);
    FVideoArea->addWidget(VideoWindow1);
    FVideoArea->setCurrentWidget(FIdleArea);
    videoRow->addWidget(FVideoArea, 1);
    videoRow->addSpacing(10);
    column->addLayout(videoRow, 1);

    // Button bar: the seek bar across the top, the buttons and the time label below it.
    auto *buttonBar = new QWidget(this);
    buttonBar->setObjectName(QStringLiteral("panPreviewButtons"));
    buttonBar->setFixedHeight(54);
    auto *barColumn = new QVBoxLayout(buttonBar);
    barColumn->setContentsMargins(0, 0, 0, 0);
    barColumn->setSpacing(0);
    TrackBar = new TPreviewTrackBar(buttonBar);
    barColumn->addWidget(TrackBar);
    auto *buttonRow = new QWidget(buttonBar);
    barColumn->addWidget(buttonRow, 1);
    sbtnPlay = PictureButton(buttonRow, QStringLiteral("sbtnPlay"), QStringLiteral("Play"), PreviewPictures::PlayIcon(), 9);
    sbtnPause = PictureButton(buttonRow, QStringLiteral("sbtnPause"), QStringLiteral("Pause / Resume"),
                              PreviewPictures::PauseIcon(), 48);
    sbtnStop = PictureButton(buttonRow, QStringLiteral("sbtnStop"), QStringLiteral("Stop"), PreviewPictures::StopIcon(), 87);
    labPreviewTime = new QLabel(QStringLiteral("00:00:00"), buttonRow);
    labPreviewTime->setObjectName(QStringLiteral("labPreviewTime"));
    labPreviewTime->setAccessibleName(QStringLiteral("Preview Time"));
    labPreviewTime->setGeometry(136, 29 - 21, 57, labPreviewTime->sizeHint().height());
    column->addWidget(buttonBar);

    connect(sbtnPlay, &QToolButton::clicked, this, &TPreviewPanel::sbtnPlayClick);
    connect(sbtnPause, &QToolButton::clicked, this, &TPreviewPanel::sbtnPauseClick);
    connect(sbtnStop, &QToolButton::clicked, this, &TPreviewPanel::sbtnStopClick);
    connect(TrackBar, &TPreviewTrackBar::Timer, this, &TPreviewPanel::TrackBarTimer);
}

TPreviewPanel::~TPreviewPanel()
{
    // Stop the framework's threads before the video widget they draw into goes away.
    if (FilterGraph) {
        TrackBar->SetFilterGraph(nullptr);
        FilterGraph->stop();
        FilterGraph->setVideoOutput(nullptr);
    }
}

bool TPreviewPanel::IsShowingVideo() const
{
    return FVideoArea->currentWidget() == VideoWindow1;
}

void TPreviewPanel::CreateFilterGraph()
{
    FilterGraph = new QMediaPlayer(this);
    FilterGraph->setObjectName(QStringLiteral("FilterGraph"));
    // Without a sound device an audio output stalls the player; the picture plays without one.
    if (!QMediaDevices::audioOutputs().isEmpty()) {
        FAudioOutput = new QAudioOutput(FilterGraph);
        FilterGraph->setAudioOutput(FAudioOutput);
    }
    FilterGraph->setVideoOutput(VideoWindow1);
    connect(VideoWindow1->videoSink(), &QVideoSink::videoFrameChanged, this, &TPreviewPanel::VideoFrameChanged);
    TrackBar->SetFilterGraph(FilterGraph);
}

int TPreviewPanel::SelectedRow() const
{
    // The first selected row in list order, whatever order the rows were selected in.
    for (int row = 0; row < FTaskList->topLevelItemCount(); ++row) {
        if (FTaskList->topLevelItem(row)->isSelected())
            return row;
    }
    return -1;
}

void TPreviewPanel::VideoFrameChanged(const QVideoFrame &frame)
{
    if (frame.isValid() && !IsShowingVideo())
        FVideoArea->setCurrentWidget(VideoWindow1);
}

void TPreviewPanel::OpenPreview()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    if (!FilterGraph)
        CreateFilterGraph();
    FilterGraph->stop();
    FilterGraph->setSource(QUrl());
    FVideoArea->setCurrentWidget(FIdleArea);
    // A file the framework cannot play leaves the player still; that is all the user sees of it.
    FilterGraph->setSource(QUrl::fromLocalFile(FTaskList->topLevelItem(row)->text(0)));
    FilterGraph->play();
}

void TPreviewPanel::sbtnPlayClick()
{
    if (FTaskList->topLevelItemCount() == 0)
        return;
    if (SelectedRow() < 0)
        FTaskList->topLevelItem(0)->setSelected(true);
    OpenPreview();
}

void TPreviewPanel::sbtnPauseClick()
{
    if (!FilterGraph)
        return;
    switch (FilterGraph->playbackState()) {
    case QMediaPlayer::PlayingState:
        FilterGraph->pause();
        break;
    case QMediaPlayer::PausedState:
        FilterGraph->play();
        break;
    case QMediaPlayer::StoppedState:
        break;
    }
}

void TPreviewPanel::sbtnStopClick()
{
    if (FilterGraph)
        FilterGraph->stop();
}

void TPreviewPanel::TrackBarTimer(qint64 currentPosition, qint64 stopPosition)
{
    Q_UNUSED(currentPosition);
    Q_UNUSED(stopPosition);
    labPreviewTime->setText(SecondsToTimeText(TrackBar->value()));
}
