#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Fallback pictures, one per image number of the command table.
QPixmap DrawnIcon(int image)
{
    QPixmap pix(48, 48);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(19, 157, 217);
    const QColor dark(60, 60, 60);
    p.setPen(QPen(dark, 2));
    switch (image) {
    case 0: // add files: a film strip with a plus
        p.setBrush(QColor(230, 236, 245));
        p.drawRoundedRect(6, 10, 30, 28, 3, 3);
        for (int y = 13; y < 36; y += 6) {
            p.fillRect(9, y, 3, 3, dark);
            p.fillRect(30, y, 3, 3, dark);
        }
        break;
    case 1: // add directory: a folder with a plus
        p.setBrush(QColor(245, 205, 90));
        p.drawRect(5, 14, 32, 24);
        p.drawRect(5, 10, 14, 4);
        break;
    case 2: // up
    case 3: { // down
        QPainterPath arrow;
        if (image == 2) {
            arrow.moveTo(24, 6); arrow.lineTo(42, 26); arrow.lineTo(31, 26);
            arrow.lineTo(31, 42); arrow.lineTo(17, 42); arrow.lineTo(17, 26); arrow.lineTo(6, 26);
        } else {
            arrow.moveTo(24, 42); arrow.lineTo(42, 22); arrow.lineTo(31, 22);
            arrow.lineTo(31, 6); arrow.lineTo(17, 6); arrow.lineTo(17, 22); arrow.lineTo(6, 22);
        }
        arrow.closeSubpath();
        p.setBrush(blue);
        p.drawPath(arrow);
        break;
    }
    case 4: // remove: a minus
        p.setBrush(QColor(220, 70, 60));
        p.drawRoundedRect(8, 20, 32, 9, 3, 3);
        break;
    case 5: // clear: a cross
        p.setPen(QPen(QColor(220, 70, 60), 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(12, 12, 36, 36);
        p.drawLine(36, 12, 12, 36);
        break;
    case 6: { // start: a triangle
        QPolygon tri({QPoint(14, 8), QPoint(40, 24), QPoint(14, 40)});
        p.setBrush(QColor(60, 170, 80));
        p.drawPolygon(tri);
        break;
    }
    case 7: // stop: a square
        p.setBrush(QColor(220, 70, 60));
        p.drawRoundedRect(11, 11, 26, 26, 3, 3);
        break;
    case 8: // settings: a gear-like wheel
        p.setBrush(QColor(150, 150, 160));
        p.drawEllipse(QPoint(24, 24), 16, 16);
        p.setBrush(Qt::white);
        p.drawEllipse(QPoint(24, 24), 6, 6);
        break;
    case 11: // about: an "i"
    case 12: { // help: a "?"
        p.setBrush(blue);
        p.drawEllipse(QPoint(24, 24), 19, 19);
        QFont f = p.font();
        f.setPixelSize(26);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 48, 48), Qt::AlignCenter, image == 11 ? QStringLiteral("i") : QStringLiteral("?"));
        break;
    }
    default:
        break;
    }
    if (image == 0 || image == 1) {
        p.setPen(QPen(QColor(60, 170, 80), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(38, 30, 38, 44);
        p.drawLine(31, 37, 45, 37);
    }
    return pix;
}

} // namespace

QIcon ToolbarIcon(const QString &themeName, int image)
{
    const QIcon themed = QIcon::fromTheme(themeName);
    if (!themed.isNull())
        return themed;
    return QIcon(DrawnIcon(image));
}

QPixmap WelcomePicture()
{
    QPixmap pix(132, 239);
    pix.fill(Qt::white);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    // A portable player: body, screen with a play mark, and a control wheel.
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(QColor(235, 238, 243));
    p.drawRoundedRect(8, 4, 116, 231, 16, 16);
    p.setBrush(QColor(19, 157, 217));
    p.drawRoundedRect(18, 20, 96, 100, 4, 4);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(56, 50), QPoint(84, 70), QPoint(56, 90)}));
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QPoint(66, 176), 38, 38);
    p.setBrush(QColor(220, 224, 230));
    p.drawEllipse(QPoint(66, 176), 14, 14);
    return pix;
}
