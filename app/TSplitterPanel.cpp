#include "app/TSplitterPanel.h"

#include <QMouseEvent>

TSplitterPanel::TSplitterPanel(QWidget *parent)
    : QLabel(QStringLiteral("<>"), parent)
{
    setObjectName(QStringLiteral("panSplitter"));
    setAccessibleName(QStringLiteral("<>"));
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::SizeHorCursor);
    setFixedWidth(10);
    setMouseTracking(true);
}

void TSplitterPanel::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMoved(event->buttons(), event->modifiers(), qRound(event->position().x()));
    QLabel::mouseMoveEvent(event);
}
