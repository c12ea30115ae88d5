#pragma once

#include <QLabel>

// The 10-pixel drag handle between the task list and the profile column.
class TSplitterPanel : public QLabel
{
    Q_OBJECT

public:
    explicit TSplitterPanel(QWidget *parent = nullptr);

Q_SIGNALS:
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
};
