#include "widgets/DeviceContext.h"

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
    QFontMetrics metrics(m_painter.font(), m_painter.device());
    m_painter.drawText(QPoint(x, y + metrics.ascent()), text);
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

QFont MakeDeviceFont(int height, int weight, const QString& face) {
    QFont font(face);
    font.setPixelSize(std::max(1, height));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    return font;
}
