#pragma once

#include <QWidget>

class QAudioOutput;
class QLabel;
class QMediaPlayer;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QVideoFrame;
class QVideoWidget;
class TPreviewTrackBar;

// The preview player: plays the input file of the task list's selected row in a small video area
// with a seek bar, a time label and Play, Pause / Resume and Stop.
class TPreviewPanel : public QWidget
{
    Q_OBJECT

public:
    // The task list is read for its rows' captions (the input paths) and selection; it is not owned.
    explicit TPreviewPanel(QTreeWidget *taskList, QWidget *parent = nullptr);
    ~TPreviewPanel() override;

    // True while the video area shows a file's picture rather than its own empty-area picture.
    bool IsShowingVideo() const;

    QVideoWidget *VideoWindow1 = nullptr;
    TPreviewTrackBar *TrackBar = nullptr;
    QToolButton *sbtnPlay = nullptr;
    QToolButton *sbtnPause = nullptr;
    QToolButton *sbtnStop = nullptr;
    QLabel *labPreviewTime = nullptr;
    // The player; made by the first preview so that start-up does not wait for the media framework.
    QMediaPlayer *FilterGraph = nullptr;

public Q_SLOTS:
    // Loads the selected row's file and plays it from its start.
    void OpenPreview();
    void sbtnPlayClick();
    void sbtnPauseClick();
    void sbtnStopClick();
    void TrackBarTimer(qint64 currentPosition, qint64 stopPosition);

private:
    void CreateFilterGraph();
    int SelectedRow() const;
    void VideoFrameChanged(const QVideoFrame &frame);

    QTreeWidget *FTaskList;
    QStackedWidget *FVideoArea = nullptr;
    QWidget *FIdleArea = nullptr;
    QAudioOutput *FAudioOutput = nullptr;
};
