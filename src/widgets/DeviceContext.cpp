#include "widgets/DeviceContext.h"

#include <QFontMetricsF>
#include <QRawFont>

#include <QFontMetrics>
#include <QPainter>

CPainterDC::CPainterDC(QPainter& painter, bool printing, int dpiX, int dpiY)
    : m_painter(painter), m_printing(printing), m_dpiX(dpiX), m_dpiY(dpiY) {}

QFont CPainterDC::SelectFont(const QFont& font) {
    QFont previous = m_painter.font();
    m_painter.setFont(font);
    return previous;
}

void CPainterDC::SetTextColor(const QColor& colour) {
    m_painter.setPen(colour);
}

void CPainterDC::SetBkModeTransparent() {
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

QSize CPainterDC::GetTextExtent(const QString& text) const {
    QFontMetrics metrics(m_painter.font(), m_painter.device());
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void CPainterDC::TextOut(int x, int y, const QString& text) {
    // y is the top of the cell: the baseline lies the face's ascent below it, to the fraction.
    const QFont& font = m_painter.font();
    const qreal ascent = font.pixelSize() > 0 ? FaceProportions(font).ascent * font.pixelSize()
                                              : QFontMetricsF(font, m_painter.device()).ascent();
    m_painter.drawText(QPointF(x, y + ascent), text);
}

void CPainterDC::MoveTo(int x, int y) {
    m_position = QPoint(x, y);
}

void CPainterDC::LineTo(int x, int y) {
    m_painter.drawLine(m_position, QPoint(x, y));
    m_position = QPoint(x, y);
}

bool CPainterDC::StretchImage(const QRect& target, const QImage& image) {
    if (image.isNull())
        return false;
    m_painter.drawImage(target, image);
    return true;
}

FaceProportions::FaceProportions(const QFont& font) {
    // Read at a size of one pixel per design unit, where nothing is rounded away.
    const QRawFont raw = QRawFont::fromFont(font);
    const qreal units = raw.isValid() ? raw.unitsPerEm() : 0;
    QFont design = font;
    design.setPixelSize(units > 0 ? qRound(units) : 1000);
    const QRawFont atEm = QRawFont::fromFont(design);
    const qreal em = design.pixelSize();
    if (atEm.isValid()) {
        ascent = atEm.ascent() / em;
        descent = atEm.descent() / em;
    } else {
        const QFontMetricsF metrics(design);
        ascent = metrics.ascent() / em;
        descent = metrics.descent() / em;
    }
}

QFont MakeDeviceFont(int height, int weight, const QString& face) {
    QFont font(face);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    // The height is the character cell's, ascent and descent together: the face's own
    // proportions say what pixel size (the em) gives that cell.
    font.setPixelSize(std::max(1, height));
    const FaceProportions face_(font);
    const qreal cell = face_.ascent + face_.descent;
    if (cell > 0)
        font.setPixelSize(std::max(1, qRound(std::max(1, height) / cell)));
    return font;
}
