#pragma once
// A device context that records what is drawn on it, for tests of layouts.

#include "widgets/DeviceContext.h"

#include <QList>

class RecordingDC : public CDC {
public:
    struct Text {
        int x, y;
        QString text;
        QColor colour;
        QFont font;
    };
    struct Image {
        QRect target;
        QSize size;
    };

    explicit RecordingDC(bool printing = false, int dpi = 96, int charWidth = 10,
                         int lineHeight = 20)
        : m_printing(printing), m_dpi(dpi), m_charWidth(charWidth), m_lineHeight(lineHeight) {}

    bool IsPrinting() const override { return m_printing; }
    int LogPixelsX() const override { return m_dpi; }
    int LogPixelsY() const override { return m_dpi; }
    QFont SelectFont(const QFont& font) override {
        QFont previous = m_font;
        m_font = font;
        return previous;
    }
    void SetTextColor(const QColor& colour) override { m_colour = colour; }
    void SetBkModeTransparent() override { transparent = true; }
    // Every character m_charWidth wide, so that tests know the extents.
    QSize GetTextExtent(const QString& text) const override {
        return QSize(static_cast<int>(text.size()) * m_charWidth, m_lineHeight);
    }
    void TextOut(int x, int y, const QString& text) override {
        texts << Text{x, y, text, m_colour, m_font};
    }
    void MoveTo(int x, int y) override { m_at = QPoint(x, y); }
    void LineTo(int x, int y) override {
        lines << QLine(m_at, QPoint(x, y));
        m_at = QPoint(x, y);
    }
    bool StretchImage(const QRect& target, const QImage& image) override {
        images << Image{target, image.size()};
        return true;
    }

    QList<Text> texts;
    QList<QLine> lines;
    QList<Image> images;
    bool transparent = false;
    QFont currentFont() const { return m_font; }

private:
    bool m_printing;
    int m_dpi, m_charWidth, m_lineHeight;
    QFont m_font;
    QColor m_colour;
    QPoint m_at;
};
