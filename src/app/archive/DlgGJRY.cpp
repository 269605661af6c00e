#include "app/archive/DlgGJRY.h"

#include "app/archive/QueryPicking.h"
#include "app/archive/ResidentStatistics.h"
#include "app/detail/DlgRYXXQK.h"
#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "app/units/DlgSetDW.h"
#include "app/units/UnitTree.h"
#include "app/users/Rights.h"
#include "grid/AdoGridCtrl.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "platform/SqlLiteral.h"
#include "ui_DlgGJRY.h"
#include "widgets/BusyCursor.h"
#include "widgets/DeviceContext.h"
#include "widgets/Resources.h"
#include "widgets/SplitterControl.h"
#include "widgets/XTreeCtrl.h"
#include "ado/AdoRecordSet.h"

#include <QMouseEvent>
#include <QScreen>

const QString CDlgGJRY::kResidentTable = QStringLiteral("基本情况表");

const int CDlgGJRY::kLayout[kLayoutEntries * 3] = {
    1,    MoveRight,  100, 2,    MoveRight,  100, 1029, MoveRight,  100, 1023, MoveRight, 100,
    1031, MoveRight,  100, 1037, MoveRight,  100, 1015, MoveDown,   100, 1022, MoveRight, 100,
    1030, MoveRight,  100, 1071, MoveRight,  100, 1000, GrowHeight, 100, 1004, GrowWidth, 100,
    1010, GrowBoth,   100, 1005, GrowHeight, 100, 1038, MoveRight,  100, 1051, MoveRight, 100,
    1052, MoveRight,  100, 1053, MoveRight,  100, 1054, MoveRight,  100, 1055, MoveRight, 100,
    1056, MoveRight,  100, 1039, MoveRight,  100, 1040, MoveRight,  100, 1041, MoveRight, 100,
    1042, MoveRight,  100, 1043, MoveRight,  100, 1044, MoveRight,  100, 1045, MoveRight, 100,
    1057, GrowWidth,  100, 1058, GrowWidth,  100, 1064, MoveDown,   100, 0,    -1,        -1,
};

CDlgGJRY::CDlgGJRY(QWidget* parent) : CLayoutDialog(parent), m_ui(std::make_unique<Ui::CDlgGJRY>()) {
    m_ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    m_ui->splitterPlace->hide();
    m_ui->progress->hide();
    m_ui->dateColumn->addItems({QStringLiteral("出生日期"), QStringLiteral("死亡日期"),
                                QStringLiteral("何时迁来本县"), QStringLiteral("何时迁来本址"),
                                QStringLiteral("登记日期")});
    QFont title = MakeDeviceFont(30, 900, QStringLiteral("楷体"));
    m_ui->title->setFont(title);
    QPalette red = m_ui->title->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_ui->title->setPalette(red);

    m_firstFill.setSingleShot(true);
    m_firstFill.setInterval(1000);
    connect(&m_firstFill, &QTimer::timeout, this, [this] { OnTimer(1); });
    connect(m_ui->back, &QPushButton::clicked, this, &CDlgGJRY::OnCancel);
    connect(m_ui->ageRange, &QCheckBox::clicked, this, &CDlgGJRY::OnAgeRange);
    connect(m_ui->dateRange, &QCheckBox::clicked, this, &CDlgGJRY::OnDateRange);
    connect(m_ui->editUnits, &QPushButton::clicked, this, &CDlgGJRY::OnEditUnits);
    connect(m_ui->add, &QPushButton::clicked, this, &CDlgGJRY::OnAddResident);
    connect(m_ui->details, &QPushButton::clicked, this, &CDlgGJRY::OnShowDetails);
    connect(m_ui->fuzzy, &QPushButton::clicked, this, &CDlgGJRY::OnFuzzyQuery);
    connect(m_ui->exact, &QPushButton::clicked, this, &CDlgGJRY::OnExactQuery);
    connect(m_ui->duplicates, &QPushButton::clicked, this, &CDlgGJRY::OnFindDuplicateNames);
    connect(m_ui->ages, &QPushButton::clicked, this, &CDlgGJRY::OnRecomputeAges);
    connect(m_ui->remove, &QPushButton::clicked, this, &CDlgGJRY::OnDeleteRow);
    connect(m_ui->removeAll, &QPushButton::clicked, this, &CDlgGJRY::OnDeleteAll);
    connect(m_ui->certificate, &QPushButton::clicked, this, &CDlgGJRY::OnPrintCertificate);
    connect(m_ui->list, &CAdoGridCtrl::gridRefilled, this, &CDlgGJRY::OnListRefilled);
    connect(m_ui->list, &CAdoGridCtrl::gridClicked, this, &CDlgGJRY::OnListClick);
    connect(m_ui->tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { OnSelectUnit(current); });
    connect(m_ui->tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        // A click on the unit already selected runs its query again.
        if (!m_bQueriedByPress && item == m_ui->tree->currentItem())
            OnSelectUnit(item);
        m_bQueriedByPress = false;
    });
    connect(m_ui->tree, &CXTreeCtrl::xtreeNotify, this, &CDlgGJRY::OnTreeNotify);
    connect(m_ui->tree, &CXTreeCtrl::dragFinished, this, &CDlgGJRY::OnDragFinished);
    m_ui->tree->viewport()->installEventFilter(this);
}

CDlgGJRY::~CDlgGJRY() {
    m_ui->tree->disconnect(this); // its items go away with it: no choice of a unit
}

QProgressBar* CDlgGJRY::m_ui_progress() const {
    return m_ui->progress;
}

CAdoGridCtrl* CDlgGJRY::Grid() const {
    return m_ui->list;
}

CXTreeCtrl* CDlgGJRY::Tree() const {
    return m_ui->tree;
}

namespace {

// Reads an integer edit; FALSE (after saying so and focusing it) when it holds no integer
// or one outside [low, high].
bool readInteger(CDialog* dialog, QLineEdit* edit, int& value, int low = INT_MIN,
                 int high = INT_MAX) {
    bool ok = false;
    const int n = edit->text().trimmed().toInt(&ok);
    if (!ok) {
        MessageBox(dialog, QStringLiteral("请输入一个整数。"), QStringLiteral("提示"),
                   MB_OK | MB_ICONEXCLAMATION);
        dialog->GotoDlgCtrl(edit);
        return false;
    }
    if (n < low || n > high) {
        MessageBox(dialog, FormatText(QStringLiteral("请输入一个在 %d 和 %d 之间的整数。"), low, high),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        dialog->GotoDlgCtrl(edit);
        return false;
    }
    value = n;
    return true;
}

} // namespace

bool CDlgGJRY::UpdateData(bool saveAndValidate) {
    Ui::CDlgGJRY& ui = *m_ui;
    if (!saveAndValidate) {
        ui.queryText->setText(m_strQueryText);
        ui.ageRange->setChecked(m_bAgeRange != 0);
        ui.ageTo->setText(QString::number(m_nAgeTo));
        ui.ageFrom->setText(QString::number(m_nAgeFrom));
        ui.dateRange->setChecked(m_bDateRange != 0);
        ui.dayFrom->setText(QString::number(m_nDayFrom));
        ui.dayTo->setText(QString::number(m_nDayTo));
        ui.monthFrom->setText(QString::number(m_nMonthFrom));
        ui.monthTo->setText(QString::number(m_nMonthTo));
        ui.yearFrom->setText(QString::number(m_nYearFrom));
        ui.yearTo->setText(QString::number(m_nYearTo));
        ui.dateColumn->setCurrentText(m_strDateColumn);
        (m_nSpeed == 0 ? ui.fast : ui.slow)->setChecked(true);
        ui.title->setText(m_strTitle);
        return true;
    }
    m_strQueryText = ui.queryText->text();
    m_bAgeRange = ui.ageRange->isChecked() ? 1 : 0;
    m_bDateRange = ui.dateRange->isChecked() ? 1 : 0;
    m_strDateColumn = ui.dateColumn->currentText();
    m_nSpeed = ui.slow->isChecked() ? 1 : 0;
    return readInteger(this, ui.ageTo, m_nAgeTo) && readInteger(this, ui.ageFrom, m_nAgeFrom) &&
           readInteger(this, ui.dayFrom, m_nDayFrom, 1, 31) &&
           readInteger(this, ui.dayTo, m_nDayTo, 1, 31) &&
           readInteger(this, ui.monthFrom, m_nMonthFrom, 1, 12) &&
           readInteger(this, ui.monthTo, m_nMonthTo, 1, 12) &&
           readInteger(this, ui.yearFrom, m_nYearFrom, 1900, 2999) &&
           readInteger(this, ui.yearTo, m_nYearTo);
}

bool CDlgGJRY::OnInitDialog() {
    CLayoutDialog::OnInitDialog();
    if (!MayModify()) {
        m_ui->add->hide();
        m_ui->remove->hide();
        m_ui->removeAll->hide(); // deleting everything needs the right as much as one row
        m_ui->ages->hide();      // the age pass writes every record
        m_ui->editUnits->hide();
    }
    m_ui->tree->SetFolderImages(LoadBitmapResource(IDB_FOLDERS));
    SetLayout(kLayout, kLayoutEntries);
    ReloadUnitTree(GetApp().m_strDataDir + kUnitFile);
    UpdateData(false);
    m_ui->dateColumn->setCurrentIndex(0);
    m_strDateColumn = m_ui->dateColumn->currentText();
    // Without a window manager "maximised" means nothing; the screen's size then stands in.
    if (QScreen* screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    m_firstFill.start();
    return true;
}

void CDlgGJRY::ReloadUnitTree(const QString& path) {
    const QSignalBlocker quiet(m_ui->tree); // filling is no choice of a unit
    GetApp().LoadUnitTree(m_ui->tree, m_hRoot, path);
    m_ui->tree->expandAll();
    // The root stands for the whole list; a tree taking the focus then chooses nothing.
    m_ui->tree->setCurrentItem(m_hRoot);
}

QString CDlgGJRY::GetUnitPath(const QTreeWidgetItem* item) const {
    return UnitPath(item, m_hRoot);
}

void CDlgGJRY::OnTimer(int id) {
    if (id != 1)
        return;
    m_firstFill.stop();
    const BusyCursor busy;
    CAdoGridCtrl* grid = m_ui->list;
    grid->SetConnection(&GetApp().m_adoConnection);
    grid->SetTable(kResidentTable);
    grid->SetRowHeight(16); // before the rows come: then no row is laid out twice
    grid->Refresh(true);
    if (IsAdministrator())
        grid->EnableEditing(true);
    grid->EnableImport(MayModify()); // importing changes records
    m_nAgeFrom = 0;
    m_nAgeTo = 100;
    m_strTitle.clear();
    RunStatistics();
}

void CDlgGJRY::RunStatistics() {
    const BusyCursor busy;
    m_strTitle += CountsText(CountResidents(m_ui->list->GetRecordSet()));
    UpdateData(false);
}

void CDlgGJRY::OnSelectUnit(QTreeWidgetItem* item) {
    if (!item)
        return;
    UpdateData(true);
    if (m_bDragFlag)
        return;
    m_bQueriedByPress = true;
    m_strSelectedUnitPath = GetUnitPath(item);
    QString query;
    if (item == m_hRoot) {
        query = QStringLiteral("SELECT * FROM 基本情况表");
        m_strTitle.clear();
    } else {
        // The path matches literally: its quotes doubled, its wildcards in brackets.
        query = FormatText(QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '%s%%') "),
                           SqlLikeEscape(m_strSelectedUnitPath));
        m_strTitle = m_strSelectedUnitPath;
    }
    m_strCurrentQuery = query;
    m_ui->list->SetQuery(query);
    m_ui->list->Refresh(false);
    RunStatistics();
}

void CDlgGJRY::OnListClick(const QPoint& at) {
    UpdateData(true);
    CAdoGridCtrl* grid = m_ui->list;
    m_nSelectedRow = -1;
    for (int row = grid->GetItemCount() - 1; row >= 0 && m_nSelectedRow < 0; --row)
        if (grid->IsItemSelected(row))
            m_nSelectedRow = row;
    if (m_nSelectedRow >= 0)
        m_ui->remove->setEnabled(true);
    int column = -1;
    const int row = grid->SubItemHitTest(at, &column);
    m_strQueryText = PickIntoQuery(m_strQueryText, grid->GetItemText(row, column));
    UpdateData(false);
}

void CDlgGJRY::OnAgeRange() {
    UpdateData(true);
    m_ui->ageFrom->setEnabled(m_bAgeRange != 0);
    m_ui->ageTo->setEnabled(m_bAgeRange != 0);
    UpdateData(false);
}

void CDlgGJRY::OnDateRange() {
    UpdateData(true);
    const bool on = m_bDateRange != 0;
    for (QWidget* w : {static_cast<QWidget*>(m_ui->dateColumn), static_cast<QWidget*>(m_ui->yearFrom),
                       static_cast<QWidget*>(m_ui->monthFrom), static_cast<QWidget*>(m_ui->dayFrom),
                       static_cast<QWidget*>(m_ui->yearTo), static_cast<QWidget*>(m_ui->monthTo),
                       static_cast<QWidget*>(m_ui->dayTo)})
        w->setEnabled(on);
    UpdateData(false);
}

void CDlgGJRY::OnEditUnits() {
    if (!IsAdministrator()) {
        MessageBox(this, QStringLiteral("只有管理员才有此权限！"), QStringLiteral("提示"), MB_OK);
        return;
    }
    CDlgSetDW editor(this);
    editor.m_strPath = GetApp().m_strDataDir + kUnitFile;
    if (editor.DoModal() == IDOK) {
        ReloadUnitTree(editor.m_strPath);
        selectUnitQuietly(m_strSelectedUnitPath);
    }
}

void CDlgGJRY::OnAddResident() {
    if (!MayModify()) {
        MessageBox(this, QStringLiteral("无此操作权限!"), QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
        EndDialog(IDCANCEL);
        return;
    }
    if (m_strSelectedUnitPath.isEmpty()) {
        AfxMessageBox(QStringLiteral("请选择一个单位!"));
        return;
    }
    CAdoRecordSet& rs = m_ui->list->GetRecordSet();
    rs.AddNew();
    rs.PutCollect(QStringLiteral("工作单位"), adodb::Variant(m_strSelectedUnitPath));
    CDlgRYXXQK form(this);
    form.m_pRecordSet = &rs;
    form.m_nMode = CDlgRYXXQK::Add;
    form.DoModal();
    m_ui->list->Refresh(false);
}

void CDlgGJRY::OnShowDetails() {
    CAdoGridCtrl* grid = m_ui->list;
    if (m_nSelectedRow >= grid->GetItemCount())
        return;
    if (m_nSelectedRow < 0) {
        MessageBox(this, QStringLiteral("请选中一个人！"), QStringLiteral("提示"), MB_OK);
        return;
    }
    const int key = grid->GetItemData(m_nSelectedRow);
    CAdoRecordSet& rs = grid->GetRecordSet();
    CDlgRYXXQK form(this);
    form.m_pRecordSet = &rs;
    form.m_nKey = key;
    if (!rs.Find(FormatText(QStringLiteral("%s=%d"), rs.GetFieldName(0), key)))
        return;
    form.DoModal();
    grid->Refresh(false);
}

void CDlgGJRY::OnTreeNotify(int code) {
    if (code == CXTreeCtrl::DragBegin || code == CXTreeCtrl::LabelEditBegin)
        m_strDragPath = GetUnitPath(m_ui->tree->currentItem());
    if (code == CXTreeCtrl::DragBegin)
        m_bDragFlag = 1;
    if (code == CXTreeCtrl::BranchMoved)
        m_bMoved = true;
}

void CDlgGJRY::OnDragFinished() {
    m_bDragFlag = 0;
    // A move changed the tree only, not the file: the tree follows the file again, and the
    // unit of the list is selected again, whether or not anything moved.
    if (m_bMoved)
        ReloadUnitTree(GetApp().m_strDataDir + kUnitFile);
    m_bMoved = false;
    selectUnitQuietly(m_strSelectedUnitPath);
}

void CDlgGJRY::selectUnitQuietly(const QString& path) {
    QTreeWidgetItem* found = m_hRoot;
    if (!path.isEmpty())
        for (QTreeWidgetItemIterator it(m_ui->tree); *it; ++it)
            if (GetUnitPath(*it) == path) {
                found = *it;
                break;
            }
    const QSignalBlocker quiet(m_ui->tree);
    m_ui->tree->setCurrentItem(found);
}

void CDlgGJRY::resizeEvent(QResizeEvent* event) {
    CLayoutDialog::resizeEvent(event);
    QWidget* place = m_ui->splitterPlace;
    if (!m_pSplitter && Grip()) {
        m_pSplitter = new CSplitterControl(this);
        m_pSplitter->Create(0, place->geometry(), this, 1005);
        m_pSplitter->SetRange(100, 500);
        m_pSplitter->setAccessibleName(QStringLiteral("分隔条"));
        connect(m_pSplitter, &CSplitterControl::Notify, this, &CDlgGJRY::OnSplitterMoved);
    } else if (m_pSplitter) {
        QRect bar = m_pSplitter->geometry();
        bar.setHeight(place->height());
        m_pSplitter->setGeometry(bar);
    }
}

void CDlgGJRY::OnSplitterMoved(const SplitterNotify& notify) {
    if (notify.code != SPN_MOVED)
        return;
    SplitterChangeWidth(m_ui->tree, notify.delta, 1);
    SplitterChangeWidth(m_ui->list, -notify.delta, 2);
    update();
}

bool CDlgGJRY::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui->tree->viewport() && event->type() == QEvent::MouseButtonPress)
        m_bQueriedByPress = false;
    return CLayoutDialog::eventFilter(watched, event);
}
