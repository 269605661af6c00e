#include "app/shell/MainFrm.h"

#include "app/archive/DlgGJRY.h"

#include "app/shell/AboutDlg.h"
#include "app/shell/CommandIds.h"
#include "platform/MessageService.h"
#include "platform/ShellService.h"
#include "widgets/Resources.h"

#include <QDir>
#include <QMenuBar>
#include <QPainter>

namespace {

// The tool bar's band: its background picture tiled behind the buttons.
class BandToolBar : public QToolBar {
public:
    BandToolBar(const QString& title, QWidget* parent)
        : QToolBar(title, parent), m_band(LoadBitmapResource(IDB_BAND)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawTiledPixmap(rect(), m_band);
    }

private:
    QPixmap m_band;
};

} // namespace

CMainFrame::CMainFrame() {
    setWindowTitle(AppTitle());
    setWindowIcon(LoadIconResource(IDI_MAINFRAME));
    m_view = new CVRINView(this);
    setCentralWidget(m_view);
    createToolBar();
    createMenu();
    createStatusBar();
}

QAction* CMainFrame::addCommand(QWidget* owner, const QString& text, int id) {
    auto* action = new QAction(text, this);
    action->setData(id);
    owner->addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    m_commands << action;
    return action;
}

QAction* CMainFrame::FindCommand(int id) const {
    for (QAction* a : m_commands)
        if (a->data().toInt() == id)
            return a;
    return nullptr;
}

void CMainFrame::createToolBar() {
    m_toolBar = new BandToolBar(QStringLiteral("工具栏"), this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setIconSize(QSize(23, 23));
    QAction* start = addCommand(m_toolBar, QStringLiteral("启动"), ID_START_ARCHIVE);
    start->setIcon(LoadIconResource(IDI_START));
    QAction* exit = addCommand(m_toolBar, QStringLiteral("退出"), ID_APP_EXIT_FRAME);
    exit->setIcon(LoadIconResource(IDI_EXIT));
    for (QAction* a : {start, exit}) {
        if (QWidget* button = m_toolBar->widgetForAction(a)) {
            button->setMinimumWidth(50);
            button->setMaximumWidth(90);
        }
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::createMenu() {
    QMenu* system = menuBar()->addMenu(QStringLiteral("系统"));
    addCommand(system, QStringLiteral("关于"), ID_APP_ABOUT);
    addCommand(system, QStringLiteral("设置单位"), ID_SET_UNIT);
    addCommand(system, QStringLiteral("设置网络"), ID_SET_NETWORK);
    addCommand(system, QStringLiteral("设置用户"), ID_SET_USERS);
    addCommand(system, QStringLiteral("设置密码"), ID_SET_PASSWORD);
    addCommand(menuBar(), QStringLiteral(" 帮助"), ID_HELP_MANUAL);
}

void CMainFrame::createStatusBar() {
    statusBar()->showMessage(QStringLiteral("就绪"));
    // The lock-key indicators; their state is not known here, so they show as off.
    for (const char* indicator : {"大写", "数字", "滚动"}) {
        auto* pane = new QLabel(QString::fromUtf8(indicator), statusBar());
        pane->setEnabled(false);
        statusBar()->addPermanentWidget(pane);
    }
}

void CMainFrame::OnCommand(int id) {
    switch (id) {
    case ID_APP_EXIT_FRAME:
        return OnExit();
    case ID_START_ARCHIVE:
        return OnStart();
    case ID_HELP_MANUAL:
        return OnHelp();
    case ID_APP_ABOUT: {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    case ID_SET_UNIT:
        return m_view->OnSetUnit();
    case ID_SET_NETWORK:
        return m_view->OnSetNetwork();
    case ID_SET_USERS:
        return m_view->OnSetUsers();
    case ID_SET_PASSWORD:
        return m_view->OnSetPassword();
    default:
        return;
    }
}

void CMainFrame::OnStart() {
    CDlgGJRY archive;
    archive.m_strCommunityTitle = m_view->m_strTitle;
    archive.DoModal();
}

void CMainFrame::OnExit() {
    close();
}

void CMainFrame::OnHelp() {
    ShellOpen(QDir::current().filePath(kManualFile));
}
