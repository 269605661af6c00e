#pragma once
// "设置单位": the administrator edits the unit hierarchy file as text, with a tree preview
// that follows every change.

#include "widgets/CDialog.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>

namespace Ui {
class CDlgSetDW;
}

class CDlgSetDW : public CDialog {
    Q_OBJECT
public:
    explicit CDlgSetDW(QWidget* parent = nullptr);
    ~CDlgSetDW() override;

    // Larger files are refused: the box and its preview would not keep up with typing.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;
    // The preview is built at most this often while typing (longer when it is slow to build).
    static constexpr int kPreviewInterval = 200;

    QString m_strPath;     // the hierarchy file, set by the opener
    QString m_strText;     // the edit box's text (line feeds)
    QString m_strPrevText; // the text of the last preview

    void RebuildPreview();

public slots:
    void OnOK() override; // "保存"

protected:
    bool OnInitDialog() override;

private:
    void OnTextChanged();
    void showPreview(); // the tree of the box's text, the line being typed selected

    std::unique_ptr<Ui::CDlgSetDW> m_ui;
    QTimer m_previewDue;          // a change waits for the next preview
    QElapsedTimer m_sincePreview; // since the last preview was built
    qint64 m_nPreviewCost = 0;    // how long it took, in milliseconds
};
