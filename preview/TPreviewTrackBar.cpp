#include "preview/TPreviewTrackBar.h"

#include <QTimer>

TPreviewTrackBar::TPreviewTrackBar(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
    , FTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("TrackBar"));
    setAccessibleName(QStringLiteral("Seek Bar"));
    setTickPosition(QSlider::TicksAbove);
    setRange(0, 0);
    setFixedHeight(21);
    FTimer->setInterval(TimerInterval);
    connect(FTimer, &QTimer::timeout, this, &TPreviewTrackBar::Tick);
    connect(this, &QSlider::sliderReleased, this, &TPreviewTrackBar::ThumbReleased);
}

void TPreviewTrackBar::SetFilterGraph(QMediaPlayer *player)
{
    if (FFilterGraph)
        disconnect(FFilterGraph, nullptr, this, nullptr);
    FFilterGraph = player;
    FTimer->stop();
    if (!FFilterGraph)
        return;
    connect(FFilterGraph, &QMediaPlayer::playbackStateChanged, this, &TPreviewTrackBar::PlaybackStateChanged);
    connect(FFilterGraph, &QObject::destroyed, this, [this] {
        FFilterGraph = nullptr;
        FTimer->stop();
    });
    PlaybackStateChanged(FFilterGraph->playbackState());
}

bool TPreviewTrackBar::IsTicking() const
{
    return FTimer->isActive();
}

void TPreviewTrackBar::PlaybackStateChanged(QMediaPlayer::PlaybackState state)
{
    if (state == QMediaPlayer::PlayingState)
        FTimer->start();
    else
        FTimer->stop();
}

void TPreviewTrackBar::Tick()
{
    if (!FFilterGraph)
        return;
    const qint64 stopPosition = FFilterGraph->duration() / TimerInterval;
    const qint64 currentPosition = FFilterGraph->position() / TimerInterval;
    setMaximum(static_cast<int>(stopPosition));
    // A thumb the user holds stays where the user put it.
    if (!isSliderDown())
        setValue(static_cast<int>(currentPosition));
    Q_EMIT Timer(currentPosition, stopPosition);
}

void TPreviewTrackBar::ThumbReleased()
{
    // Before the first tick (or for a file of unknown length) the bar marks no point of the file.
    if (!FFilterGraph || maximum() <= 0)
        return;
    FFilterGraph->setPosition(FFilterGraph->duration() * sliderPosition() / maximum());
}
