#include "Assets.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

namespace {

QPainterPath hill(int width, int height, double base, double amplitude, double phase,
                  double waves) {
    QPainterPath path;
    path.moveTo(0, height);
    for (int x = 0; x <= width; x += 8) {
        double t = static_cast<double>(x) / width;
        double y = base - amplitude * (0.6 * std::sin(t * waves * 3.14159 + phase) +
                                       0.4 * std::sin(t * waves * 7.1 + phase * 2));
        path.lineTo(x, y * height);
    }
    path.lineTo(width, height);
    path.closeSubpath();
    return path;
}

void house(QPainter& p, double x, double y, double size, QColor roof) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 238, 222));
    p.drawRect(QRectF(x, y, size, size * 0.62));
    p.setBrush(roof);
    p.drawPolygon(QPolygonF({QPointF(x - size * 0.12, y), QPointF(x + size * 0.5, y - size * 0.42),
                             QPointF(x + size * 1.12, y)}));
    p.setBrush(QColor(110, 80, 60));
    p.drawRect(QRectF(x + size * 0.4, y + size * 0.26, size * 0.2, size * 0.36));
    p.setBrush(QColor(150, 190, 220));
    p.drawRect(QRectF(x + size * 0.1, y + size * 0.16, size * 0.18, size * 0.16));
    p.drawRect(QRectF(x + size * 0.72, y + size * 0.16, size * 0.18, size * 0.16));
}

void tree(QPainter& p, double x, double y, double size) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 85, 60));
    p.drawRect(QRectF(x - size * 0.06, y - size * 0.1, size * 0.12, size * 0.5));
    p.setBrush(QColor(60, 130, 70));
    p.drawEllipse(QPointF(x, y - size * 0.35), size * 0.32, size * 0.38);
    p.setBrush(QColor(80, 150, 85));
    p.drawEllipse(QPointF(x - size * 0.1, y - size * 0.45), size * 0.18, size * 0.2);
}

QString rtfText(const QString& text) {
    QString out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}')
            out += QLatin1Char('\\') + QString(c);
        else if (u < 0x80)
            out += c;
        else
            out += QStringLiteral("\\u%1?").arg(static_cast<qint16>(u));
    }
    return out;
}

} // namespace

QImage DrawBackground(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height * 0.6);
    sky.setColorAt(0, QColor(120, 175, 235));
    sky.setColorAt(0.7, QColor(200, 225, 245));
    sky.setColorAt(1, QColor(245, 238, 220));
    p.fillRect(image.rect(), sky);
    QRadialGradient sun(width * 0.78, height * 0.16, height * 0.3);
    sun.setColorAt(0, QColor(255, 250, 220, 230));
    sun.setColorAt(0.25, QColor(255, 240, 190, 120));
    sun.setColorAt(1, QColor(255, 240, 190, 0));
    p.fillRect(image.rect(), sun);
    // Clouds.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    for (QPointF c : {QPointF(0.18, 0.14), QPointF(0.45, 0.09), QPointF(0.6, 0.2)})
        for (int k = 0; k < 4; ++k)
            p.drawEllipse(QPointF(width * c.x() + k * width * 0.025,
                                  height * c.y() + (k % 2) * height * 0.01),
                          width * 0.035, height * 0.03);
    // Hills, far to near.
    p.setBrush(QColor(150, 180, 200));
    p.drawPath(hill(width, height, 0.55, 0.07, 0.3, 2.0));
    p.setBrush(QColor(110, 160, 120));
    p.drawPath(hill(width, height, 0.62, 0.05, 1.7, 3.0));
    p.setBrush(QColor(140, 190, 100));
    p.drawPath(hill(width, height, 0.7, 0.03, 0.9, 1.5));
    // Fields in rows.
    QLinearGradient field(0, height * 0.7, 0, height);
    field.setColorAt(0, QColor(170, 205, 110));
    field.setColorAt(1, QColor(120, 170, 70));
    p.setBrush(field);
    p.drawRect(QRectF(0, height * 0.74, width, height * 0.26));
    p.setPen(QPen(QColor(105, 150, 60), 2));
    for (int k = 0; k < 14; ++k) {
        double y = height * (0.76 + k * k * 0.0013);
        p.drawLine(QPointF(0, y), QPointF(width, y + (k - 7) * 2));
    }
    // The village.
    const QColor roofs[] = {QColor(190, 70, 50), QColor(170, 90, 60), QColor(80, 100, 150)};
    for (int k = 0; k < 7; ++k)
        house(p, width * (0.08 + k * 0.12), height * (0.67 + (k % 3) * 0.015), width * 0.05,
              roofs[k % 3]);
    for (int k = 0; k < 9; ++k)
        tree(p, width * (0.04 + k * 0.115), height * (0.74 + (k % 2) * 0.01), width * 0.045);
    p.end();
    return image;
}

QByteArray ManualRtf(const QString& text) {
    QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1"
        "{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}{\\f1\\fnil\\fcharset134 SimHei;}}"
        "{\\info{\\title VRIN \\u20351?\\u29992?\\u35828?\\u26126?}}"
        "\\paperw11906\\paperh16838\\margl1600\\margr1600\\margt1440\\margb1440\n");
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("## ")))
            rtf += QStringLiteral("{\\pard\\sb360\\sa120\\keepn\\f1\\fs30\\b %1\\par}\n")
                       .arg(rtfText(line.mid(3)));
        else if (line.startsWith(QLatin1String("# ")))
            rtf += QStringLiteral("{\\pard\\qc\\sb240\\sa360\\f1\\fs40\\b %1\\par}\n")
                       .arg(rtfText(line.mid(2)));
        else if (line.startsWith(QLatin1String("- ")))
            rtf += QStringLiteral("{\\pard\\li720\\fi-360\\sa80\\f0\\fs24 \\u8226?\\tab %1\\par}\n")
                       .arg(rtfText(line.mid(2)));
        else
            rtf += QStringLiteral("{\\pard\\fi480\\sa120\\sl360\\slmult1\\f0\\fs24 %1\\par}\n")
                       .arg(rtfText(line));
    }
    rtf += QStringLiteral("}\n");
    return rtf.toLatin1();
}
