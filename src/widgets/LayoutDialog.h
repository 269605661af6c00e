#pragma once
// A resizable dialog that moves and stretches listed controls by a percentage of every
// size change, never gets smaller than it opened, and shows a size grip.

#include "widgets/CDialog.h"

class QSizeGrip;

class CLayoutDialog : public CDialog {
    Q_OBJECT
public:
    // Modes of a layout entry: how a size change by dx, dy moves or stretches the control.
    enum Mode {
        MoveRight = 0,
        MoveDown = 1,
        MoveRightDown = 2,
        GrowWidth = 3,
        GrowHeight = 4,
        GrowBoth = 5,
        GrowWidthMoveDown = 6,
    };

    explicit CLayoutDialog(QWidget* parent = nullptr);

    // Entries of three ints: control id, mode, percent (0 to 100; others are skipped). The
    // table stays the caller's and must outlive the dialog. FALSE for none.
    bool SetLayout(const int* entries, int count);
    void SetShowGrip(int show) { m_nShowGrip = show; }
    QSizeGrip* Grip() const { return m_pGrip; }
    QSize MinimumSize() const { return QSize(m_nMinWidth, m_nMinHeight); }

    // The geometry of a control of rect after a size change by dx, dy (truncated toward zero).
    static QRect Apply(const QRect& rect, int mode, int percent, int dx, int dy);

protected:
    bool OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeGrip();

    int m_nLastWidth = 0, m_nLastHeight = 0;
    int m_nMinWidth = 0, m_nMinHeight = 0;
    const int* m_pEntries = nullptr;
    int m_nCount = 0;
    int m_nShowGrip = 1;
    QSizeGrip* m_pGrip = nullptr;
    bool m_bOpened = false;
};
