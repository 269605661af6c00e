#pragma once
// The main window's view: the background picture stretched over it and the community's
// name written large across it. Its commands open the settings and user dialogs.

#include "widgets/DeviceContext.h"
#include "widgets/Picture.h"

#include <QWidget>

// The name shown until "Info.txt" gives one.
inline const QString kDefaultCommunityName = QStringLiteral("村民委员会");

class CVRINView : public QWidget {
    Q_OBJECT
public:
    explicit CVRINView(QWidget* parent = nullptr);

    // Reads the title from "Info.txt" in the database folder.
    void OnInitialUpdate();
    void OnDraw(CDC* dc);
    // Height of the screen the title is placed by.
    virtual int ScreenHeight() const;

    CPicture m_picture;
    QString m_strTitle;

public slots:
    void OnSetUnit();     // "设置单位"
    void OnSetNetwork();  // "设置网络"
    void OnSetUsers();    // "设置用户"
    void OnSetPassword(); // "设置密码"

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The file name of the background picture, looked for in the current folder.
inline const QString kBackgroundPicture = QStringLiteral("bk.jpg");
