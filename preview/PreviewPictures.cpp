#include "preview/PreviewPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

constexpr QSize IconSize(16, 16);

QPixmap Drawn(QSize size, const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

// One glyph in the normal colour and in grey for the disabled state.
QIcon GlyphIcon(const std::function<void(QPainter &)> &shape)
{
    QIcon icon;
    const auto paintIn = [&](const QColor &colour) {
        return Drawn(IconSize, [&](QPainter &p) {
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            shape(p);
        });
    };
    icon.addPixmap(paintIn(QColor(40, 110, 190)), QIcon::Normal);
    icon.addPixmap(paintIn(QColor(160, 160, 160)), QIcon::Disabled);
    return icon;
}

} // namespace

QPixmap PreviewPictures::IdlePicture()
{
    return Drawn(QSize(136, 63), [](QPainter &p) {
        // A strip of film with a play mark on it.
        const QRectF strip(2, 6, 132, 51);
        QLinearGradient shade(strip.topLeft(), strip.bottomLeft());
        shade.setColorAt(0, QColor(70, 70, 78));
        shade.setColorAt(1, QColor(34, 34, 40));
        p.setPen(QPen(QColor(110, 110, 120), 1));
        p.setBrush(shade);
        p.drawRoundedRect(strip, 5, 5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(12, 12, 14));
        for (int x = 8; x < 130; x += 12) {
            p.drawRoundedRect(QRectF(x, 9, 6, 5), 1, 1);
            p.drawRoundedRect(QRectF(x, 49, 6, 5), 1, 1);
        }
        p.setBrush(QColor(20, 20, 24));
        p.drawRect(QRectF(8, 17, 120, 29));
        QPainterPath mark;
        mark.moveTo(60, 21);
        mark.lineTo(80, 31.5);
        mark.lineTo(60, 42);
        mark.closeSubpath();
        p.setBrush(QColor(52, 152, 219));
        p.drawPath(mark);
    });
}

QIcon PreviewPictures::PlayIcon()
{
    return GlyphIcon([](QPainter &p) {
        QPainterPath path;
        path.moveTo(4, 2);
        path.lineTo(14, 8);
        path.lineTo(4, 14);
        path.closeSubpath();
        p.drawPath(path);
    });
}

QIcon PreviewPictures::PauseIcon()
{
    return GlyphIcon([](QPainter &p) {
        p.drawRect(QRectF(3, 2, 4, 12));
        p.drawRect(QRectF(9, 2, 4, 12));
    });
}

QIcon PreviewPictures::StopIcon()
{
    return GlyphIcon([](QPainter &p) { p.drawRect(QRectF(3, 3, 10, 10)); });
}
