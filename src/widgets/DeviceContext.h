#pragma once
// The few drawing operations the program's screens and printouts use, in the terms they
// were laid out in: text at a top-left point, move to / line to, fonts, a picture stretched
// into a rectangle. Painting goes to a QPainter; tests record the calls.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

class CDC {
public:
    virtual ~CDC() = default;

    virtual bool IsPrinting() const = 0;
    virtual int LogPixelsX() const = 0;
    virtual int LogPixelsY() const = 0;

    // Returns the font that was selected before.
    virtual QFont SelectFont(const QFont& font) = 0;
    virtual void SetTextColor(const QColor& colour) = 0;
    virtual void SetBkModeTransparent() = 0;
    virtual QSize GetTextExtent(const QString& text) const = 0;
    virtual void TextOut(int x, int y, const QString& text) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Draws the whole image stretched into the rectangle; FALSE when it could not.
    virtual bool StretchImage(const QRect& target, const QImage& image) = 0;
};

// A device context over a painter (a window, a printer page or an image).
class CPainterDC : public CDC {
public:
    // dpiX / dpiY: the device's logical pixels per inch.
    CPainterDC(QPainter& painter, bool printing, int dpiX, int dpiY);

    bool IsPrinting() const override { return m_printing; }
    int LogPixelsX() const override { return m_dpiX; }
    int LogPixelsY() const override { return m_dpiY; }
    QFont SelectFont(const QFont& font) override;
    void SetTextColor(const QColor& colour) override;
    void SetBkModeTransparent() override;
    QSize GetTextExtent(const QString& text) const override;
    void TextOut(int x, int y, const QString& text) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    bool StretchImage(const QRect& target, const QImage& image) override;

private:
    QPainter& m_painter;
    bool m_printing;
    int m_dpiX, m_dpiY;
    QPoint m_position;
};

// A device font from the terms of a logical font: the cell height in device units (ascent
// and descent together), the weight (400 normal, 700 bold, 900 heavy) and the face name.
QFont MakeDeviceFont(int height, int weight, const QString& face);

// A face's ascent and descent for one pixel of em, from its design units.
struct FaceProportions {
    explicit FaceProportions(const QFont& font);
    qreal ascent = 0, descent = 0;
};
