#pragma once
// "人员详细情况": one resident's full record on the opener's recordset, to view and edit,
// to add residents one after the other, to step through the list, with the household's
// other members and the photo. With the database controls hidden it is also the form of
// the exact query.

#include "widgets/CDialog.h"
#include "widgets/Picture.h"

#include <QByteArray>
#include <QHash>

#include <memory>

namespace Ui {
class CDlgRYXXQK;
}
class CAdoRecordSet;
class ScrollingForm;
struct ResidentColumn;

class CDlgRYXXQK : public CDialog {
    Q_OBJECT
public:
    enum Mode { View = 0, Add = 1, Query = 2 };

    explicit CDlgRYXXQK(QWidget* parent = nullptr);
    ~CDlgRYXXQK() override;

    int m_nMode = View;
    CAdoRecordSet* m_pRecordSet = nullptr;
    int m_nKey = 0;
    QString m_strPhotoPath;
    CPicture m_picture;
    int m_nFamilySize = 0;
    int m_bContinuousAdd = 0;
    QString m_strYear, m_strMonth, m_strDay; // the birth date's boxes 1018, 1037, 1039
    QString m_strBirthDate;                  // the composed date, hidden edit 1004

    // The member of a text or date column (empty for one the form does not show).
    QString Value(const QString& column) const { return m_strFields.value(column); }
    void SetValue(const QString& column, const QString& value) { m_strFields[column] = value; }

    // Moves the members to the controls (false) or reads them back (true); FALSE when the
    // family size is no integer (said, and the focus put there).
    bool UpdateData(bool saveAndValidate);
    void LoadRecord();
    // The photo file the person sheet prints: the photo the form shows.
    QString TemporaryPhotoPath() const;

    // The columns the form writes, in the order it writes them.
    static const QStringList& WrittenColumns();
    // Where the person sheets are written: the user's documents folder.
    static QString SheetFolder();

    // The fields' page and the button row below it.
    ScrollingForm& Form() const { return *m_form; }

public slots:
    void OnOK() override; // "保存"
    void OnPrevious();
    void OnNext();
    void OnChangePhoto();
    void OnPrint(); // the person sheet

protected:
    bool OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Saved { Yes, NoRight, Refused };
    Saved save();
    bool writeRow();
    void startNextResident();
    void loadPhoto();
    void fillFamily();
    void enableSteps();
    void refuse(const QString& message, int focusId = 0);
    QWidget* control(int id) const;
    void paintPhoto();
    QString controlText(int id) const;
    void setControlText(int id, const QString& text);

    std::unique_ptr<Ui::CDlgRYXXQK> m_ui;
    std::unique_ptr<ScrollingForm> m_form; // the fields scroll on a low screen, the buttons stay
    QHash<QString, QString> m_strFields; // by column name
    QString m_strAddUnit;                 // the unit new residents are filed under
    QByteArray m_photoBytes;              // a chosen photo not yet stored with its row
};
