// The commands of the archive window that work on the residents of the list: the fuzzy
// and exact queries, the duplicate names, the ages and the deletions.

#include "app/archive/ArchiveQueries.h"
#include "app/archive/Certificate.h"
#include "app/archive/DlgGJRY.h"
#include "app/detail/DlgRYXXQK.h"
#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "app/users/Rights.h"
#include "ado/AdoRecordSet.h"
#include "grid/AdoGridCtrl.h"
#include "platform/Clock.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "records/ResidentCatalogue.h"
#include "widgets/BusyCursor.h"
#include "widgets/PrintService.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>

using namespace adodb;

namespace {

constexpr int kCertificateDpi = 600;

// Keys into an UPDATE in slices, so that no SQL text grows without bound.
constexpr int kKeysPerStatement = 2000;

QString keyList(const std::vector<std::int32_t>& keys, size_t from, size_t to) {
    QString list;
    for (size_t k = from; k < to; ++k) {
        if (k > from)
            list += QLatin1Char(',');
        list += QString::number(keys[k]);
    }
    return list;
}

} // namespace

// The progress bar of a long pass: shown over its range, the window repainted now and then
// but taking no command meanwhile.
class CDlgGJRY::Progress {
public:
    Progress(QProgressBar* bar, int total) : m_bar(bar) {
        m_bar->setRange(0, std::max(0, total));
        m_bar->setValue(0);
        m_bar->show();
    }
    ~Progress() { m_bar->hide(); }
    void Set(int position) {
        m_bar->setValue(position);
        if (position % 4096 == 0)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QProgressBar* m_bar;
};

DateRange CDlgGJRY::dateRange() const {
    return {m_strDateColumn, m_nYearFrom, m_nMonthFrom, m_nDayFrom, m_nYearTo, m_nMonthTo, m_nDayTo};
}

bool CDlgGJRY::checkDateRange() {
    if (!m_bDateRange)
        return true;
    const QString problem = DateRangeProblem(dateRange());
    if (problem.isEmpty())
        return true;
    MessageBox(this, problem, QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
    return false;
}

void CDlgGJRY::refill(const QString& query, bool remember) {
    if (remember)
        m_strCurrentQuery = query;
    Grid()->SetQuery(query);
    Grid()->Refresh(false);
}

void CDlgGJRY::OnListRefilled() {
    // A row chosen before the list was read again may now be another resident.
    m_nSelectedRow = -1;
    GetDlgItem(1030)->setEnabled(false);
}

bool CDlgGJRY::runInTransaction(const std::function<void(Connection&)>& writes) {
    Connection& db = *GetApp().m_pConnection;
    try {
        db.BeginTrans();
        try {
            writes(db);
            db.CommitTrans();
        } catch (...) {
            try {
                db.RollbackTrans();
            } catch (const ComError&) {
                // a failed commit has rolled back already
            }
            throw;
        }
    } catch (const ComError& e) {
        MessageBox(this, QStringLiteral("数据库操作失败，没有做任何修改：\r\n") + e.Description(),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

void CDlgGJRY::OnFuzzyQuery() {
    const BusyCursor busy;
    UpdateData(true);
    m_strQueryText = TrimTrailingBlanks(m_strQueryText);
    if (!checkDateRange())
        return;
    QString query = BaseQuery();
    if (m_bDateRange) {
        query += DateConditions(dateRange());
        refill(query, true);
        if (m_strQueryText.isEmpty() && !m_bAgeRange)
            return;
    } else if (m_strQueryText.isEmpty() && !m_bAgeRange) {
        refill(query, true);
        return;
    } else if (m_nSpeed == 1) {
        refill(query, false); // "慢": every resident is examined
    }
    const FuzzyTerms terms = ParseFuzzyText(m_strQueryText);

    // The ages of the listed residents, by key: the list may have lost rows since its fill.
    CAdoGridCtrl* grid = Grid();
    CAdoRecordSet& rs = grid->GetRecordSet();
    QHash<std::int32_t, long> ages;
    if (m_bAgeRange && rs.IsOpen()) {
        RecordsetPtr raw = rs.GetRecordset();
        const int ageColumn = raw->FindField(QStringLiteral("年龄"));
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
            ages.insert(LowFourBytes(rs.GetCollectValue(0)),
                        ageColumn < 0 ? 0 : VariantToLong(rs.GetCollectValue(ageColumn)));
    }
    const int n = grid->GetItemCount();
    const int columns = grid->GetColumnCount();
    std::vector<std::int32_t> matched;
    {
        Progress progress(m_ui_progress(), n);
        for (int i = n - 1; i >= 0; --i) {
            progress.Set(n - i);
            const std::int32_t key = grid->GetItemData(i);
            if (m_bAgeRange) {
                const long age = ages.value(key, 0);
                if (age < m_nAgeFrom || age > m_nAgeTo)
                    continue;
            }
            // Every field column shown, column 0 (the row number) not.
            if (RowMatches(columns - 1, [&](int k) { return grid->GetItemText(i, k + 1); }, terms))
                matched.push_back(key);
        }
    }
    // The verdicts, in one transaction: 否 for everybody marked 是 before (so none outside
    // the list keeps it), then 是 for the matches.
    const bool written = runInTransaction([&](Connection& db) {
        db.Execute(QStringLiteral("UPDATE 基本情况表 SET 显示='否' WHERE 显示='是'"), nullptr, adCmdText);
        for (size_t from = 0; from < matched.size(); from += kKeysPerStatement)
            db.Execute(QStringLiteral("UPDATE 基本情况表 SET 显示='是' WHERE 编号 IN (") +
                           keyList(matched, from, std::min(matched.size(), from + kKeysPerStatement)) +
                           QLatin1Char(')'),
                       nullptr, adCmdText);
    });
    if (!written)
        return; // the list stays as it was
    refill(m_bDateRange ? BaseQuery() + DateConditions(dateRange()) + QStringLiteral(" and (显示='是')")
                        : QStringLiteral("Select * From 基本情况表 Where 显示='是'"),
           true);
}

void CDlgGJRY::OnExactQuery() {
    UpdateData(true);
    if (!checkDateRange())
        return;
    CDlgRYXXQK form(this);
    form.m_nMode = CDlgRYXXQK::Query;
    if (form.DoModal() != IDOK)
        return;
    QString query = ExactQuery([&](const QString& column) { return form.Value(column); },
                               form.m_nFamilySize);
    if (m_bDateRange)
        query += DateConditions(dateRange());
    if (m_bAgeRange)
        query += FormatText(QStringLiteral(" AND 年龄>=%d AND 年龄<=%d"), m_nAgeFrom, m_nAgeTo);
    refill(query, true);
}

void CDlgGJRY::OnFindDuplicateNames() {
    const BusyCursor busy;
    UpdateData(true);
    m_strQueryText = TrimTrailingBlanks(m_strQueryText);
    refill(QStringLiteral("Select * From 基本情况表 Where TRUE order by 姓名"), false);
    CAdoGridCtrl* grid = Grid();
    const int n = grid->GetItemCount();
    // The name of each row: the column headed 姓名, or the record when the layout hides it.
    int nameColumn = -1;
    for (int c = 1; c < grid->GetColumnCount() && nameColumn < 0; ++c)
        if (grid->GetHeadingText(c) == QStringLiteral("姓名"))
            nameColumn = c;
    QHash<std::int32_t, QString> recordNames;
    if (nameColumn < 0) {
        CAdoRecordSet& rs = grid->GetRecordSet();
        const int field = rs.IsOpen() ? rs.GetRecordset()->FindField(QStringLiteral("姓名")) : -1;
        if (rs.IsOpen())
            for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
                recordNames.insert(LowFourBytes(rs.GetCollectValue(0)),
                                   field < 0 ? QString() : rs.VariantToDisplayText(rs.GetCollectValue(field)));
    }
    QStringList names;
    {
        Progress progress(m_ui_progress(), n);
        for (int i = 0; i < n; ++i) {
            progress.Set(i);
            names << (nameColumn >= 0 ? grid->GetItemText(i, nameColumn)
                                      : recordNames.value(grid->GetItemData(i)));
        }
    }
    const std::vector<bool> keep = DuplicateNameRows(names);
    std::vector<std::int32_t> gone;
    for (int i = 0; i < n; ++i)
        if (!keep[static_cast<size_t>(i)])
            gone.push_back(grid->GetItemData(i));
    grid->RemoveRows(gone);
    grid->Renumber();
}

// Says so and returns FALSE when the operator may not change records.
bool CDlgGJRY::checkMayModify() {
    if (MayModify())
        return true;
    MessageBox(this, QStringLiteral("无此操作权限!"), QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
    return false;
}

void CDlgGJRY::OnRecomputeAges() {
    if (!checkMayModify())
        return;
    const BusyCursor busy;
    const int year = CurrentYear(); // read once
    runInTransaction([&](Connection& db) {
        // Only the columns the pass needs, not a second copy of the table and its photos.
        RecordsetPtr rs = Recordset::Create();
        rs->Open(QStringLiteral("SELECT 编号, 出生日期, 年龄 FROM 基本情况表"), GetApp().m_pConnection,
                 adOpenDynamic, adLockOptimistic, adCmdText);
        Progress progress(m_ui_progress(), static_cast<int>(rs->GetRecordCount()));
        int done = 0;
        for (; !rs->GetEOF(); rs->MoveNext()) {
            progress.Set(++done);
            const QString age = AgeText(VariantToString(rs->GetCollect(Variant(QStringLiteral("出生日期")))), year);
            const Variant current = rs->GetCollect(Variant(QStringLiteral("年龄")));
            const QString stored = current.IsNullOrEmpty() ? QString() : VariantToString(current);
            if (stored != age) // an unchanged age needs no write
                rs->PutCollect(Variant(QStringLiteral("年龄")), Variant(age));
        }
        rs->Close();
        (void)db;
    });
}

void CDlgGJRY::OnDeleteRow() {
    CAdoGridCtrl* grid = Grid();
    if (m_nSelectedRow >= grid->GetItemCount())
        return;
    if (m_nSelectedRow < 0) {
        MessageBox(this, QStringLiteral("请选择要删除的行！"), QStringLiteral("提示"), MB_OK);
        return;
    }
    if (MessageBox(this, FormatText(QStringLiteral("确实要删除第%d行吗？"), m_nSelectedRow + 1),
                   QStringLiteral("提示"), MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return;
    const std::int32_t key = grid->GetItemData(m_nSelectedRow);
    const BusyCursor busy;
    try {
        // By key, without reading the table again; a record already gone leaves the list too.
        GetApp().m_pConnection->Execute(
            FormatText(QStringLiteral("DELETE * FROM 基本情况表 WHERE 编号=%d"), key), nullptr, adCmdText);
    } catch (const ComError& e) {
        MessageBox(this, QStringLiteral("删除失败：\r\n") + e.Description(), QStringLiteral("提示"),
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    grid->RemoveRow(key);
    m_nSelectedRow = -1;
    GetDlgItem(1030)->setEnabled(false);
}

void CDlgGJRY::OnDeleteAll() {
    if (!checkMayModify())
        return;
    // Everything goes: 否 is the answer of a stray Enter.
    if (MessageBox(this, QStringLiteral("确实要删除所有记录吗？"), QStringLiteral("提示"),
                   MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return;
    const BusyCursor busy;
    try {
        GetApp().m_pConnection->Execute(QStringLiteral("DELETE * FROM 基本情况表"), nullptr, adCmdText);
    } catch (const ComError& e) {
        MessageBox(this, QStringLiteral("删除失败：\r\n") + e.Description(), QStringLiteral("提示"),
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Grid()->DeleteAllItems();
    OnListRefilled();
}

void CDlgGJRY::OnPrintCertificate() {
    CAdoGridCtrl* grid = Grid();
    if (m_nSelectedRow >= grid->GetItemCount())
        return;
    if (m_nSelectedRow < 0) {
        MessageBox(this, QStringLiteral("请选中一个人！"), QStringLiteral("提示"), MB_OK);
        return;
    }
    CAdoRecordSet& rs = grid->GetRecordSet();
    if (!rs.Find(FormatText(QStringLiteral("%s=%d"), rs.GetFieldName(0), grid->GetItemData(m_nSelectedRow)))) {
        MessageBox(this, QStringLiteral("没有这个人！"), QStringLiteral("提示"), MB_OK);
        return;
    }
    CVRINApp& app = GetApp();
    if (!app.m_pPrinter) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setResolution(kCertificateDpi);
        if (!CurrentPrintDialogService().ChoosePrinter(this, *printer))
            return; // nothing kept: the next certificate asks again
        app.m_pPrinter = std::move(printer);
    }
    const BusyCursor busy;
    QPrinter& printer = *app.m_pPrinter;
    printer.setResolution(kCertificateDpi); // the layout is in dots at 600 dpi
    printer.setFullPage(false);
    printer.setDocName(QStringLiteral("户籍证明"));

    auto text = [&](const char* field) {
        QString value;
        rs.GetValueString(QString::fromUtf8(field), value);
        return value;
    };
    CertificateValues values{text("姓名"), text("性别"), text("曾用名"), text("户口性质"),
                             text("民族"),  text("出生日期"), text("身份证号"), text("其它住址")};
    if (values.birthDate == kEmptyDateText)
        values.birthDate.clear(); // the empty date prints as no date
    m_picture.FreePicture();
    try {
        FieldPtr photo = rs.GetRecordset()->GetFields()->GetItem(Variant(QStringLiteral("照片")));
        const long size = photo->GetActualSize();
        if (size > 0) {
            const Variant bytes = photo->GetChunk(size);
            if (bytes.IsByteArray())
                m_picture.LoadFromBuffer(bytes.Bytes().constData(), bytes.Bytes().size());
        }
    } catch (const ComError&) {
        // no photo on the certificate
    }
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        CPainterDC dc(painter, true, kCertificateDpi, kCertificateDpi);
        DrawCertificate(dc, values, m_picture.m_pPicture.get(), m_strCommunityTitle, QDate::currentDate());
        printed = painter.end();
    }
    if (!printed) {
        const QString where = toFile ? printer.outputFileName() : printer.printerName();
        app.m_pPrinter.reset(); // the next certificate asks for a printer again
        MessageBox(this, FormatText(QStringLiteral("户籍证明没有打印出来：无法打印到“%s”。"), where),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (toFile)
        app.m_pPrinter.reset(); // a file is chosen for each certificate, none overwritten
}
