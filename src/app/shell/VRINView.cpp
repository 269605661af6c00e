#include "app/shell/VRINView.h"

#include "app/users/DlgModifyPassword.h"
#include "app/settings/DlgSetInfo.h"
#include "app/users/DlgSetRight2.h"
#include "app/settings/DlgSetWL.h"
#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "platform/MessageService.h"
#include "platform/TextFile.h"
#include "platform/Trace.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QScreen>

CVRINView::CVRINView(QWidget* parent) : QWidget(parent), m_strTitle(kDefaultCommunityName) {
    // A missing picture is no error worth a message: the view shows its plain background.
    const QString background = QDir::current().filePath(kBackgroundPicture);
    if (QFileInfo::exists(background))
        m_picture.LoadFromFile(background);
    else
        Trace(QStringLiteral("background picture not found: ") + background);
}

void CVRINView::OnInitialUpdate() {
    QString line;
    if (ReadFirstLine(GetApp().m_strDataDir + kInfoFile, line))
        m_strTitle = line;
    update();
}

int CVRINView::ScreenHeight() const {
    const QScreen* s = screen();
    return s ? s->geometry().height() : height();
}

void CVRINView::OnDraw(CDC* dc) {
    const QRect rc = rect();
    if (m_picture.m_pPicture) {
        m_picture.RefreshSize(dc);
        m_picture.Draw(dc, rc);
    }
    QFont previous = dc->SelectFont(MakeDeviceFont(50, 900, QStringLiteral("隶书")));
    dc->SetBkModeTransparent();
    const int w = rc.width();
    const int h = ScreenHeight();
    const QSize extent = dc->GetTextExtent(m_strTitle);
    dc->SetTextColor(QColor(0, 255, 255));
    dc->TextOut((w - extent.width()) / 2 + 2, h / 2 - 120, m_strTitle);
    dc->SetTextColor(QColor(0, 0, 255));
    dc->TextOut((w - extent.width()) / 2, h / 2 - 122, m_strTitle);
    dc->SelectFont(previous);
}

void CVRINView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    CPainterDC dc(painter, false, logicalDpiX(), logicalDpiY());
    OnDraw(&dc);
}

void CVRINView::OnSetUnit() {
    CDlgSetInfo dialog;
    dialog.m_strName = m_strTitle;
    if (dialog.DoModal() == IDOK) {
        m_strTitle = dialog.m_strName;
        update();
    }
}

void CVRINView::OnSetNetwork() {
    CDlgSetWL dialog;
    if (dialog.DoModal() == IDOK)
        MessageBox(this, QStringLiteral("退出重启后生效！"), QStringLiteral("提示"), MB_OK);
}

void CVRINView::OnSetUsers() {
    CDlgSetRight2 dialog;
    dialog.DoModal();
}

void CVRINView::OnSetPassword() {
    CDlgModifyPassword dialog;
    dialog.DoModal();
}
