#include "GridFixture.h"

#include "ado/AdoRecordSet.h"
#include "adodb/SqliteProvider.h"
#include "widgets/ControlIds.h"

void GridTest::SetUp() {
    qputenv("VRIN_APPDIR", m_appDir.Folder().toLocal8Bit());
    CAdoGridCtrl::ResetColumnClickCount();
    m_path = m_appDir.Path(QStringLiteral("人员档案.mdb"));
    adodb::CreateDatabaseFile(m_path);
    ASSERT_TRUE(m_conn.OpenJetDatabase(m_path));
    Exec(QStringLiteral("CREATE TABLE 基本情况表 (编号 COUNTER, 姓名 TEXT(10), 出生日期 DATETIME, "
                        "家庭人口 INT, 身高 DOUBLE, 股民 BIT, 工作单位 TEXT(50))"));
    const char* rows[] = {
        "'张三',#1980-5-3#,3,1.76,TRUE,'一组'",
        "'李四',#1992-11-20 08:30#,2,0,FALSE,'一组'",
        "'王五',NULL,NULL,1.5,FALSE,'二组'",
        "'ab',#2001-1-1#,1,2,TRUE,'二组'",
    };
    for (const char* r : rows)
        Exec(QStringLiteral("INSERT INTO 基本情况表 (姓名,出生日期,家庭人口,身高,股民,工作单位) "
                            "VALUES (") +
             QString::fromUtf8(r) + QLatin1Char(')'));
}

void GridTest::TearDown() {
    m_window.reset();
    qunsetenv("VRIN_APPDIR");
}

void GridTest::Exec(const QString& sql) {
    ASSERT_TRUE(m_conn.Execute(sql, adodb::adCmdText)) << sql.toStdString();
}

CAdoGridCtrl& GridTest::Bind(const QString& table) {
    m_window = std::make_unique<QDialog>();
    m_window->setWindowTitle(QStringLiteral("人员档案"));
    m_window->resize(900, 400);
    m_grid = new CAdoGridCtrl(m_window.get());
    SetControlId(m_grid, 1010);
    m_grid->resize(880, 380);
    EXPECT_TRUE(m_grid->SetConnection(&m_conn));
    m_grid->SetTable(table);
    m_grid->Refresh(true);
    return *m_grid;
}

QStringList GridTest::ColumnTexts(int column) const {
    QStringList texts;
    for (int row = 0; row < m_grid->GetItemCount(); ++row)
        texts << m_grid->GetItemText(row, column);
    return texts;
}

QStringList GridTest::Headings() const {
    QStringList headings;
    for (int c = 0; c < m_grid->GetColumnCount(); ++c)
        headings << m_grid->GetHeadingText(c);
    return headings;
}

QString GridTest::Stored(int key, const QString& field) {
    CAdoRecordSet rs;
    rs.SetAdoConnection(&m_conn);
    if (!rs.Open(QStringLiteral("SELECT * FROM 基本情况表 WHERE 编号=%1").arg(key)) || rs.IsEOF())
        return QStringLiteral("<none>");
    QString value;
    rs.GetValueString(field, value);
    return value;
}
