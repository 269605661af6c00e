#pragma once
// "人员档案", the archive window: the unit tree on the left, the resident list on the right
// with the household and person counts of the unit selected above it, the query controls
// and the command buttons.

#include "widgets/LayoutDialog.h"
#include "widgets/Picture.h"

#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace adodb {
class Connection;
}
namespace Ui {
class CDlgGJRY;
}
class CAdoGridCtrl;
class CSplitterControl;
class CXTreeCtrl;
class QTreeWidgetItem;
class QProgressBar;
struct DateRange;
struct SplitterNotify;

class CDlgGJRY : public CLayoutDialog {
    Q_OBJECT
public:
    explicit CDlgGJRY(QWidget* parent = nullptr);
    ~CDlgGJRY() override;

    // The layout table: control id, mode, percent.
    static constexpr int kLayoutEntries = 32;
    static const int kLayout[kLayoutEntries * 3];
    static const QString kResidentTable;

    // Moves the members to the controls (false) or reads them back with the integer and
    // range checks (true); a failed check says so, puts the focus on the field and stops.
    bool UpdateData(bool saveAndValidate);

    void ReloadUnitTree(const QString& path);
    QString GetUnitPath(const QTreeWidgetItem* item) const;
    // Counts the residents of the list and appends the counts to the title.
    void RunStatistics();
    void OnTimer(int id);

    CAdoGridCtrl* Grid() const;
    CXTreeCtrl* Tree() const;
    QTreeWidgetItem* RootItem() const { return m_hRoot; }

    QString m_strCurrentQuery;
    int m_nSelectedRow = -1;
    int m_bDragFlag = 0;
    QString m_strSelectedUnitPath;
    QString m_strCommunityTitle; // set by the opener
    QString m_strQueryText;      // 1004
    int m_bAgeRange = 0;         // 1033
    int m_nAgeTo = 0;            // 1035
    int m_nAgeFrom = 0;          // 1034
    int m_bDateRange = 0;        // 1038
    int m_nDayFrom = 1, m_nDayTo = 31;
    int m_nMonthFrom = 1, m_nMonthTo = 12;
    int m_nYearFrom = 1980, m_nYearTo = 2010;
    QString m_strDateColumn; // 1045
    int m_nSpeed = 0;        // 0 快, 1 慢
    QString m_strTitle;      // 1057
    CPicture m_picture;      // the photo of the certificate last printed

public slots:
    void OnSelectUnit(QTreeWidgetItem* item);
    void OnListClick(const QPoint& at);
    void OnAgeRange();
    void OnDateRange();
    void OnEditUnits();
    void OnAddResident();
    void OnShowDetails();
    void OnFuzzyQuery();
    void OnExactQuery();
    void OnFindDuplicateNames();
    void OnRecomputeAges();
    void OnDeleteRow();
    void OnDeleteAll();
    void OnPrintCertificate();

protected:
    bool OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Progress;
    struct DateRange dateRange() const;
    bool checkDateRange(); // FALSE (after saying why) when the date range cannot be queried
    bool checkMayModify(); // FALSE (after saying so) when the operator may not change records
    void refill(const QString& query, bool remember);
    void OnListRefilled();
    bool runInTransaction(const std::function<void(adodb::Connection&)>& writes);
    QProgressBar* m_ui_progress() const;
    void OnTreeNotify(int code);
    void OnDragFinished();
    void OnSplitterMoved(const SplitterNotify& notify);
    void selectUnitQuietly(const QString& path);

    std::unique_ptr<Ui::CDlgGJRY> m_ui;
    QTreeWidgetItem* m_hRoot = nullptr;
    QPointer<CSplitterControl> m_pSplitter;
    QTimer m_firstFill;
    bool m_bMoved = false;        // the drag that is ending moved a branch
    bool m_bQueriedByPress = false; // the press that is ending already ran the unit query
    QString m_strDragPath;        // the unit selected when a drag began
};
