#pragma once
// A flat push button that rises while the pointer is over it or it has the focus, sinks
// while held, shows a bitmap beside, above or below its text, and embosses its text when
// disabled. The first press on an unfocused button only takes the focus; the click is sent
// on the release.

#include <QPixmap>
#include <QPushButton>

class CTrackLookButton : public QPushButton {
    Q_OBJECT
public:
    enum Border { Flat = 0, Sunken = 1, Raised = 2 };

    explicit CTrackLookButton(QWidget* parent = nullptr);

    // Normal (required), hot and disabled bitmaps by resource id; 0 leaves one out.
    bool LoadBitmaps(int normal, int hot = 0, int disabled = 0);
    // 0 bitmap right of the text, 1 left of it, 2 above it, 3 below it.
    void SetAlignment(int alignment);
    int GetAlignment() const { return m_nAlignment; }

    int GetBorder() const { return m_nBorder; }
    bool IsHot() const { return m_bHot; }
    bool IsButtonDown() const { return m_bButtonDown; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void enter(bool leftHeld);
    void leave();
    void releaseBitmaps();

    bool m_bHot = false;
    QPixmap m_bmpNormal, m_bmpHot, m_bmpDisabled, m_bmpSpare;
    int m_nAlignment = 0;
    bool m_bDisabled = false;
    bool m_bFocused = false;
    bool m_bButtonDown = false;
    int m_nBorder = Flat;
    bool m_bTracking = false;
};
