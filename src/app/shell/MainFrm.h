#pragma once
// The main window: a launcher with the tool bar buttons "启动" and "退出", the menu "系统"
// with the settings and user dialogs, " 帮助" for the manual, a status bar, and the view.

#include "app/shell/VRINDoc.h"
#include "app/shell/VRINView.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();

    CVRINView* GetActiveView() const { return m_view; }
    CVRINDoc* GetDocument() { return &m_document; }
    // The menu or tool bar action of a command id, or null.
    QAction* FindCommand(int id) const;
    QToolBar* ToolBar() const { return m_toolBar; }

public slots:
    void OnCommand(int id);
    void OnStart(); // 102 "启动"
    void OnExit();  // 101 "退出"
    void OnHelp();  // 32772 " 帮助"

private:
    QAction* addCommand(QWidget* owner, const QString& text, int id);
    void createToolBar();
    void createMenu();
    void createStatusBar();

    CVRINDoc m_document;
    CVRINView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QList<QAction*> m_commands;
};

// The user manual, looked for in the current folder.
inline const QString kManualFile = QStringLiteral("VRIN使用说明.doc");
