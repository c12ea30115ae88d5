#pragma once

#include <QMediaPlayer>
#include <QSlider>

class QTimer;

// The preview's seek bar. Bound to a player, it follows the playing position once a second while
// the player plays, and moves the playing position when the user lets go of a dragged thumb.
class TPreviewTrackBar : public QSlider
{
    Q_OBJECT

public:
    static constexpr int TimerInterval = 1000;

    explicit TPreviewTrackBar(QWidget *parent = nullptr);

    // The player is not owned; it must outlive the bar's use of it.
    void SetFilterGraph(QMediaPlayer *player);
    bool IsTicking() const;

Q_SIGNALS:
    // Raised after every tick, with the playing position and the duration in whole seconds.
    void Timer(qint64 currentPosition, qint64 stopPosition);

private:
    void PlaybackStateChanged(QMediaPlayer::PlaybackState state);
    void Tick();
    void ThumbReleased();

    QMediaPlayer *FFilterGraph = nullptr;
    QTimer *FTimer = nullptr;
};
