#include "widgets/Resources.h"

#include <QHash>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

QHash<int, QPixmap>& registered() {
    static QHash<int, QPixmap> bitmaps;
    return bitmaps;
}

QPixmap canvas(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A round badge shaded from light to dark, with a painter left on it for the symbol.
QPixmap badge(int size, QColor light, QColor dark, QColor border,
              const std::function<void(QPainter&)>& symbol) {
    QPixmap pixmap = canvas(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient face(size * 0.35, size * 0.3, size * 0.8);
    face.setColorAt(0, light);
    face.setColorAt(1, dark);
    p.setBrush(face);
    p.setPen(QPen(border, 1));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    symbol(p);
    p.end();
    return pixmap;
}

// A green tick: confirm.
QPixmap drawConfirm(int size) {
    return badge(size, QColor(140, 220, 120), QColor(30, 130, 50), QColor(20, 90, 30),
                 [size](QPainter& p) {
                     QPainterPath tick;
                     tick.moveTo(size * 0.26, size * 0.52);
                     tick.lineTo(size * 0.44, size * 0.70);
                     tick.lineTo(size * 0.76, size * 0.32);
                     p.drawPath(tick);
                 });
}

// A red cross: cancel, leave.
QPixmap drawCancel(int size) {
    return badge(
        size, QColor(250, 140, 120), QColor(180, 30, 30), QColor(120, 20, 20), [size](QPainter& p) {
            p.drawLine(QPointF(size * 0.32, size * 0.32), QPointF(size * 0.68, size * 0.68));
            p.drawLine(QPointF(size * 0.68, size * 0.32), QPointF(size * 0.32, size * 0.68));
        });
}

// A play arrow: start the archive.
QPixmap drawStart(int size) {
    QPixmap pixmap = canvas(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 0, size);
    face.setColorAt(0, QColor(110, 170, 250));
    face.setColorAt(1, QColor(20, 80, 190));
    p.setBrush(face);
    p.setPen(QPen(QColor(10, 50, 130), 1));
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    QPolygonF arrow({QPointF(size * 0.38, size * 0.25), QPointF(size * 0.75, size * 0.5),
                     QPointF(size * 0.38, size * 0.75)});
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawPolygon(arrow);
    p.end();
    return pixmap;
}

// A little house under a flag, the program's own mark.
QPixmap drawMainFrame(int size) {
    QPixmap pixmap = canvas(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 40, 20), size / 32.0 + 0.5));
    p.setBrush(QColor(230, 60, 40));
    QPolygonF roof({QPointF(size * 0.1, size * 0.5), QPointF(size * 0.5, size * 0.15),
                    QPointF(size * 0.9, size * 0.5)});
    p.drawPolygon(roof);
    p.setBrush(QColor(250, 230, 180));
    p.drawRect(QRectF(size * 0.2, size * 0.5, size * 0.6, size * 0.4));
    p.setBrush(QColor(120, 70, 30));
    p.drawRect(QRectF(size * 0.42, size * 0.62, size * 0.16, size * 0.28));
    p.end();
    return pixmap;
}

QPixmap drawBand() {
    QPixmap pixmap(64, 48);
    QPainter p(&pixmap);
    QLinearGradient band(0, 0, 0, 48);
    band.setColorAt(0, QColor(235, 242, 252));
    band.setColorAt(1, QColor(190, 210, 238));
    p.fillRect(pixmap.rect(), band);
    p.end();
    return pixmap;
}

QPixmap drawFolders() {
    QPixmap pixmap(32, 16);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    for (int k = 0; k < 2; ++k) {
        int x = k * 16;
        p.setPen(QColor(150, 110, 20));
        p.setBrush(QColor(245, 205, 90));
        p.drawRect(x + 1, 4, 13, 10);
        p.drawRect(x + 1, 2, 6, 2);
        if (k == 1) { // open: the flap tilts
            p.setBrush(QColor(255, 230, 140));
            p.drawPolygon(QPolygon(
                {QPoint(x + 3, 7), QPoint(x + 15, 7), QPoint(x + 13, 14), QPoint(x + 1, 14)}));
        }
    }
    p.end();
    return pixmap;
}

QPixmap drawn(int id) {
    switch (id) {
    case IDB_LOGIN_OK:
        return drawConfirm(24);
    case IDB_LOGIN_CANCEL:
        return drawCancel(24);
    case IDI_START:
        return drawStart(32);
    case IDI_EXIT:
        return drawCancel(32);
    case IDI_MAINFRAME:
        return drawMainFrame(48);
    case IDB_BAND:
        return drawBand();
    case IDB_FOLDERS:
        return drawFolders();
    default:
        return QPixmap();
    }
}

} // namespace

QPixmap LoadBitmapResource(int id) {
    auto it = registered().find(id);
    if (it != registered().end())
        return it.value();
    QPixmap pixmap = drawn(id);
    if (!pixmap.isNull())
        registered().insert(id, pixmap);
    return pixmap;
}

QIcon LoadIconResource(int id) {
    QPixmap pixmap = LoadBitmapResource(id);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

void RegisterBitmapResource(int id, const QPixmap& pixmap) {
    registered().insert(id, pixmap);
}
