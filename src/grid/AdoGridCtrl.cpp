#include "grid/AdoGridCtrl.h"

#include "grid/AdoHeaderCtrl.h"
#include "grid/GridCommands.h"
#include "grid/LCEditComboBox.h"
#include "adodb/Command.h"
#include "office/SpreadsheetReader.h"
#include "platform/FileDialogService.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/ShellService.h"
#include "platform/TextFile.h"
#include "widgets/BusyCursor.h"
#include "widgets/ControlIds.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMouseEvent>
#include <QCoreApplication>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace adodb;

namespace {

int s_columnClicks = 0;

// ASCII letters upper-cased, everything else as it is.
QString upperAscii(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    return out;
}

// The file name of a path with its ASCII letters lower-cased; the folders stay as they are.
QString lowerFileName(const QString& path) {
    const int slash = static_cast<int>(path.lastIndexOf(QLatin1Char('/')));
    QString name = path.mid(slash + 1);
    for (QChar& c : name)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return path.left(slash + 1) + name;
}

} // namespace

int CAdoGridCtrl::ColumnClickCount() {
    return s_columnClicks;
}

void CAdoGridCtrl::ResetColumnClickCount() {
    s_columnClicks = 0;
}

CAdoGridCtrl::CAdoGridCtrl(QWidget* parent) : QTableView(parent) {
    const QString appDir = ApplicationDirectory();
    QDir().mkpath(appDir + QStringLiteral("option"));
    QDir().mkpath(appDir + QStringLiteral("excel"));

    m_pHeader = new CAdoHeaderCtrl(this);
    m_pHeader->setTextElideMode(Qt::ElideRight); // a heading cut short says so
    setHorizontalHeader(m_pHeader);
    setModel(&m_model);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true); // the cut-off cell's tip follows the pointer
    setTabKeyNavigation(false); // the arrows move in the list, Tab leaves it
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(200, 250, 225));
    colours.setColor(QPalette::Base, QColor(200, 250, 255));
    colours.setColor(QPalette::Text, QColor(0, 55, 150));
    setPalette(colours);

    // Over the cell but not in the pointer's way: a tip that took the pointer would make the
    // list lose it, and the tip go, at once.
    m_pTip = new QLabel(this, Qt::ToolTip | Qt::WindowTransparentForInput);
    m_pTip->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pTip->setStyleSheet(
        QStringLiteral("QLabel { color: rgb(255,0,0); background: rgb(0,255,255); }"));
    m_pTip->hide();
    // Showing a tip under the pointer makes some window systems report that the pointer
    // left the list, and then none when it really does: while the tip shows, where the
    // pointer is gets looked at.
    m_tipWatch.setInterval(100);
    connect(&m_tipWatch, &QTimer::timeout, this, [this] {
        if (m_pTip->isVisible() && pointerInList())
            return;
        m_pTip->hide();
        m_tipWatch.stop();
    });

    m_pEditor = new CLCEditComboBox(this);
    connect(m_pEditor, &CLCEditComboBox::cellSaved, this, &CAdoGridCtrl::OnCellSaved);
    connect(m_pEditor, &CLCEditComboBox::rowChanged, this, &CAdoGridCtrl::RefreshRow);

    connect(m_pHeader, &QHeaderView::sectionClicked, this, &CAdoGridCtrl::OnColumnClick);
    connect(m_pHeader, &CAdoHeaderCtrl::menuCommand, this,
            [this](int id) { OnCommand(static_cast<unsigned long long>(id), 0); });
}

CAdoGridCtrl::~CAdoGridCtrl() {
    saveLayoutQuietly();
}

void CAdoGridCtrl::post(std::function<void()> signal) {
    QMetaObject::invokeMethod(this, std::move(signal), Qt::QueuedConnection);
}

bool CAdoGridCtrl::SetConnection(CAdoConnection* connection) {
    if (!connection || !connection->IsOpen())
        return false;
    m_pConnection = connection;
    return true;
}

void CAdoGridCtrl::SetTable(const QString& table) {
    if (!m_strTable.isEmpty())
        saveLayoutQuietly();
    m_strTable = table;
    m_rs.Close();
    // Only attached: the query of the next Refresh reads the rows, once.
    m_rs.SetAdoConnection(m_pConnection);
    m_strQuery = QStringLiteral("Select * from ") + table;
}

void CAdoGridCtrl::SetRowHeight(int pixels) {
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(pixels);
}

QString CAdoGridCtrl::layoutNameStem() const {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    return (owner ? owner->windowTitle() : QString()) + m_strTable;
}

QString CAdoGridCtrl::LayoutPath() const {
    return QDir::cleanPath(LocalPath(FormatText(QStringLiteral("%s\\option\\%s(%d).dat"),
                                                ApplicationDirectory(), layoutNameStem(),
                                                ControlId(this))));
}

bool CAdoGridCtrl::Refresh(bool rebuildColumns) {
    const BusyCursor busy;
    m_pEditor->EndEdit(false);
    m_model.BeginReset();
    if (m_pConnection && m_rs.GetAdoConnection() != m_pConnection)
        m_rs.SetAdoConnection(m_pConnection);
    const bool opened =
        m_pConnection && m_rs.Open(m_strQuery, adCmdText, adOpenDynamic, adLockOptimistic);
    bool fitWidths = false;
    if (rebuildColumns) {
        m_bQueryOpened = opened;
        fitWidths = !buildColumns();
    }
    QStringList headings{RowNumberHeading()};
    for (const ColumnRecord& c : m_columns)
        headings << c.name;
    m_model.SetHeadings(headings);
    if (opened)
        fillRows();
    if (fitWidths)
        fitColumnWidths();
    m_model.EndReset();
    if (rebuildColumns) {
        applyColumnWidths();
        m_pHeader->SetSortImage(-1, true);
    }
    emit gridRefilled();
    return true;
}

bool CAdoGridCtrl::buildColumns() {
    m_columns.clear();
    QFile file(LayoutPath());
    const bool haveLayout = file.exists();
    if (file.open(QIODevice::ReadOnly)) {
        ColumnLayout layout = ParseColumnLayout(file.readAll());
        if (layout.hasHeader) {
            m_nLastSelectedKey = layout.lastSelectedKey;
            m_bSortAscending = layout.ascending != 0;
            m_strSortColumn = layout.sortColumn;
        }
        // A field is shown once, where the file first names it.
        std::vector<bool> taken(static_cast<size_t>(m_rs.IsOpen() ? m_rs.GetFieldsCount() : 0));
        for (const ColumnRecord& record : layout.columns) {
            const int field = m_rs.IsOpen() ? m_rs.GetRecordset()->FindField(record.name) : -1;
            if (field < 0 || field >= static_cast<int>(taken.size()) || taken[static_cast<size_t>(field)])
                continue;
            taken[static_cast<size_t>(field)] = true;
            m_columns.push_back(record);
        }
    }
    if (!m_columns.empty() || !m_rs.IsOpen())
        return haveLayout;
    const long count = m_rs.GetFieldsCount();
    for (long i = 0; i < count; ++i)
        m_columns.push_back({m_rs.GetFieldName(i), 60});
    return haveLayout;
}

void CAdoGridCtrl::fitColumnWidths() {
    const QFontMetrics cells = fontMetrics();
    const QFontMetrics headings = m_pHeader->fontMetrics();
    const int headingPadding = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, m_pHeader) +
                               style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, m_pHeader);
    const int rows = std::min(m_model.rowCount(), kRowsMeasured);
    // Shaping a text is what costs: only the few texts of a column that look widest (a
    // Chinese character as wide as two others) are measured.
    constexpr int kMeasured = 3;
    auto looks = [](const QString& text) {
        int units = 0;
        for (QChar c : text)
            units += c.unicode() >= 0x2E80 ? 2 : 1;
        return units;
    };
    std::vector<std::pair<int, int>> widest; // looks, row
    for (size_t k = 0; k < m_columns.size(); ++k) {
        ColumnRecord& column = m_columns[k];
        widest.clear();
        for (int row = 0; row < rows; ++row)
            widest.emplace_back(looks(m_model.CellText(row, static_cast<int>(k) + 1)), row);
        const auto measured = widest.begin() + std::min<qsizetype>(kMeasured, widest.size());
        std::partial_sort(widest.begin(), measured, widest.end(), std::greater<>());
        widest.erase(measured, widest.end());
        int width = headings.horizontalAdvance(column.name) + headingPadding;
        for (const auto& [units, row] : widest)
            width = std::max(width, cells.horizontalAdvance(m_model.CellText(row, static_cast<int>(k) + 1)) +
                                        kCellPadding);
        column.width = std::clamp(width, kCellPadding, kMaxFittedWidth);
    }
}

void CAdoGridCtrl::applyColumnWidths() {
    // The rebuilt columns stand in their own order, at their widths.
    for (int logical = 0; logical < m_pHeader->count(); ++logical) {
        const int visual = m_pHeader->visualIndex(logical);
        if (visual != logical)
            m_pHeader->moveSection(visual, logical);
        m_pHeader->showSection(logical);
        m_pHeader->resizeSection(
            logical, logical == 0 ? 50 : m_columns[static_cast<size_t>(logical - 1)].width);
    }
}

std::vector<int> CAdoGridCtrl::fieldIndexes(CAdoRecordSet& rs) const {
    std::vector<int> indexes;
    RecordsetPtr raw = rs.GetRecordset();
    for (const ColumnRecord& c : m_columns)
        indexes.push_back(raw ? raw->FindField(c.name) : -1);
    return indexes;
}

void CAdoGridCtrl::rowTexts(CAdoRecordSet& rs, const std::vector<int>& fields, QStringList& texts) {
    texts.resize(static_cast<qsizetype>(fields.size()));
    for (size_t k = 0; k < fields.size(); ++k)
        texts[static_cast<qsizetype>(k)] =
            fields[k] < 0 ? QString() : rs.VariantToDisplayText(rs.GetCollectValue(fields[k]));
}

void CAdoGridCtrl::fillRows() {
    const std::vector<int> fields = fieldIndexes(m_rs);
    GridRows& rows = m_model.Rows();
    QStringList texts; // one buffer for every row
    m_rs.MoveFirst();
    while (!m_rs.IsEOF()) {
        const std::int32_t key = LowFourBytes(m_rs.GetCollectValue(0));
        if (key >= 0 && !rows.Contains(key)) {
            rowTexts(m_rs, fields, texts);
            rows.Append(key, texts);
        }
        m_rs.MoveNext();
    }
}

int CAdoGridCtrl::FindRow(int key) const {
    return m_model.Rows().Find(key);
}

int CAdoGridCtrl::GetItemData(int row) const {
    return row >= 0 && row < m_model.Rows().Count() ? m_model.Rows().Key(row) : 0;
}

void CAdoGridCtrl::RefreshRow(int key) {
    const int row = FindRow(key);
    if (key < 0 || row < 0)
        return;
    CAdoRecordSet record;
    record.SetAdoConnection(m_pConnection);
    QString keyField = m_rs.IsOpen() ? m_rs.GetFieldName(0) : QString();
    if (keyField.isEmpty() && record.Open(QStringLiteral("SELECT TOP 1 * FROM ") + m_strTable))
        keyField = record.GetFieldName(0);
    // Only this row is read again.
    if (!keyField.isEmpty() &&
        record.Open(FormatText(QStringLiteral("SELECT * FROM %s WHERE %s=%d"), m_strTable,
                               keyField, key)) &&
        !record.IsEOF()) {
        QStringList texts;
        rowTexts(record, fieldIndexes(record), texts);
        m_model.Rows().Replace(row, row + 1, texts);
        m_model.RowChanged(row);
    }
    record.Close();
    post([this] { emit gridRowRefreshed(); });
}

void CAdoGridCtrl::RemoveRow(int key) {
    const int row = FindRow(key);
    if (row >= 0)
        m_model.RemoveRowAt(row);
}

void CAdoGridCtrl::RemoveRows(const std::vector<std::int32_t>& keys) {
    if (keys.empty())
        return;
    m_model.BeginReset();
    m_model.Rows().RemoveKeys(keys);
    m_model.EndReset();
}

void CAdoGridCtrl::DeleteAllItems() {
    m_model.BeginReset();
    m_model.Rows().Reset(m_model.Rows().FieldColumns());
    m_model.EndReset();
}

void CAdoGridCtrl::Renumber() {
    GridRows& rows = m_model.Rows();
    for (int row = 0; row < rows.Count(); ++row)
        rows.SetNumber(row, row + 1);
    if (rows.Count() > 0)
        emit m_model.dataChanged(m_model.index(0, 0), m_model.index(rows.Count() - 1, 0));
}

bool CAdoGridCtrl::DeleteItem(int row) {
    if (row < 0 || row >= m_model.rowCount())
        return false;
    m_model.RemoveRowAt(row);
    return true;
}

void CAdoGridCtrl::GetSelectedKeys(std::vector<std::int32_t>& keys) const {
    QModelIndexList rows = selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : rows)
        keys.push_back(m_model.Rows().Key(index.row()));
}

bool CAdoGridCtrl::IsItemSelected(int row) const {
    return selectionModel()->isRowSelected(row, QModelIndex());
}

void CAdoGridCtrl::SetItemSelected(int row, bool selected) {
    if (row < 0 || row >= m_model.rowCount())
        return;
    selectionModel()->select(m_model.index(row, 0), (selected ? QItemSelectionModel::Select
                                                              : QItemSelectionModel::Deselect) |
                                                        QItemSelectionModel::Rows);
}

int CAdoGridCtrl::SubItemHitTest(const QPoint& point, int* column) const {
    const QModelIndex index = indexAt(point);
    if (column)
        *column = index.isValid() ? index.column() : -1;
    return index.isValid() ? index.row() : -1;
}

QString CAdoGridCtrl::GetHeadingText(int column) const {
    return m_pHeader->GetItemText(column);
}

void CAdoGridCtrl::OnColumnClick(int column) {
    ++s_columnClicks;
    const QString heading = GetHeadingText(column);
    if (heading == RowNumberHeading() || heading.isEmpty())
        return;
    if (m_strSortColumn != heading)
        m_strSortColumn = heading;
    if (s_columnClicks % 2 == 1)
        m_bSortAscending = !m_bSortAscending;
    ApplySort();
}

void CAdoGridCtrl::ApplySort() {
    int index = -1;
    for (int i = 0; i < m_pHeader->count() && index < 0; ++i)
        if (GetHeadingText(i) == m_strSortColumn)
            index = i;
    if (index < 0)
        return;
    const QString column = m_strSortColumn;
    const bool ascending = m_bSortAscending;
    m_strQuery = upperAscii(m_strQuery);
    const int at = static_cast<int>(m_strQuery.indexOf(QLatin1String(" ORDER BY ")));
    if (at > 0)
        m_strQuery.truncate(at);
    m_strQuery += FormatText(ascending ? QStringLiteral(" order by %s ASC")
                                       : QStringLiteral(" order by %s DESC "),
                             column);
    Refresh(true);
    // The mark shows the order that was applied (reading the layout may have changed the
    // grid's own sort state since).
    for (int i = 0; i < m_pHeader->count(); ++i)
        if (GetHeadingText(i) == column) {
            m_pHeader->SetSortImage(i, ascending);
            break;
        }
}

bool CAdoGridCtrl::OnCommand(unsigned long long wParam, long long lParam) {
    if (NotificationCode(wParam) != 0)
        return false;
    switch (CommandId(wParam)) {
    case ID_GRID_SELECTALL:
        selectAll();
        return true;
    case ID_GRID_INVERT:
        if (m_model.rowCount() > 0)
            selectionModel()->select(
                QItemSelection(m_model.index(0, 0),
                               m_model.index(m_model.rowCount() - 1, m_model.columnCount() - 1)),
                QItemSelectionModel::Toggle);
        return true;
    case ID_GRID_HIDEROWS:
        hideSelectedRows();
        return true;
    case ID_GRID_SHOWALL:
        showAllRows();
        return true;
    case ID_GRID_EXPORTALL:
        ExportRows(m_model.Rows().Keys(), QString());
        return true;
    case ID_GRID_EXPORTSEL:
        ExportSelected();
        return true;
    case ID_GRID_IMPORT:
        if (m_bImport)
            ImportFromSpreadsheet();
        return true;
    case ID_HDR_HIDECOLUMN:
        hideColumn(m_pHeader->m_nMenuColumn);
        return true;
    case ID_HDR_SAVE: {
        QString why;
        if (!SaveLayout(LayoutPath(), &why))
            MessageBox(this, QStringLiteral("保存列设置失败：") + why, QStringLiteral("提示"),
                       MB_OK | MB_ICONEXCLAMATION);
        return true;
    }
    case ID_HDR_SAVEAS:
        saveLayoutAs();
        return true;
    case ID_HDR_IMPORT:
        loadNamedLayout();
        return true;
    case ID_HDR_RESET:
        resetLayout();
        return true;
    default:
        emit gridCommand(wParam, lParam);
        return false;
    }
}

void CAdoGridCtrl::hideSelectedRows() {
    std::vector<std::int32_t> keys;
    GetSelectedKeys(keys);
    RemoveRows(keys);
}

void CAdoGridCtrl::showAllRows() {
    m_rs.SetFilter(QString(), true);
    Refresh(false);
}

void CAdoGridCtrl::hideColumn(int column) {
    if (column <= 0 || column >= m_pHeader->count())
        return;
    m_pHeader->hideSection(column);
    SaveLayout(LayoutPath());
    Refresh(true);
}

void CAdoGridCtrl::resetLayout() {
    QFile::remove(LayoutPath());
    Refresh(true);
}

bool CAdoGridCtrl::SaveLayout(const QString& path, QString* error) {
    ColumnLayout layout;
    layout.lastSelectedKey = m_nLastSelectedKey;
    layout.ascending = m_bSortAscending ? 1 : 0;
    layout.sortColumn = m_strSortColumn;
    for (int p = 1; p < m_pHeader->count(); ++p) {
        const int logical = m_pHeader->logicalIndex(p);
        if (m_pHeader->isSectionHidden(logical))
            continue;
        layout.columns.push_back({GetHeadingText(logical), m_pHeader->sectionSize(logical)});
    }
    return WriteFileAtomic(path, SerializeColumnLayout(layout), error);
}

void CAdoGridCtrl::saveLayoutQuietly() {
    // Without a table, or after a query that could not open, there is no layout to keep:
    // writing one would replace the operator's with the defaults.
    if (m_strTable.isEmpty() || !m_bQueryOpened)
        return;
    SaveLayout(LayoutPath());
}

void CAdoGridCtrl::saveLayoutAs() {
    FileDialogRequest request;
    request.save = true;
    request.initialPath = QDir::cleanPath(LocalPath(
        FormatText(QStringLiteral("%s\\option\\%s(%d)_"), ApplicationDirectory(),
                   layoutNameStem(), ControlId(this))));
    request.filter = QStringLiteral("列设置 (*.opn)");
    request.defaultSuffix = QStringLiteral("opn");
    QString path = AskFile(this, request);
    if (path.isEmpty())
        return;
    path = lowerFileName(path);
    if (!path.endsWith(QLatin1String(".opn")))
        path += QStringLiteral(".opn");
    QString why;
    if (!SaveLayout(path, &why))
        MessageBox(this, QStringLiteral("保存列设置失败：") + why, QStringLiteral("提示"),
                   MB_OK | MB_ICONEXCLAMATION);
}

void CAdoGridCtrl::loadNamedLayout() {
    FileDialogRequest request;
    request.initialPath = QDir::cleanPath(LocalPath(
        FormatText(QStringLiteral("%s\\option\\%s(%d)_"), ApplicationDirectory(),
                   layoutNameStem(), ControlId(this))));
    request.filter = QStringLiteral("列设置 (*.opn)");
    request.defaultSuffix = QStringLiteral("opn");
    const QString path = AskFile(this, request);
    if (path.isEmpty())
        return;
    // The grid's own layout is replaced only once the chosen one has been read.
    QFile chosen(path);
    QByteArray bytes;
    const bool read = chosen.open(QIODevice::ReadOnly) && (bytes = chosen.readAll(), true) &&
                      chosen.error() == QFileDevice::NoError;
    if (!read || !WriteFileAtomic(LayoutPath(), bytes)) {
        MessageBox(this, QStringLiteral("打开文件失败！"), QString(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    Refresh(true);
}

void CAdoGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
    if (!m_bRowMenu) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    for (const MenuEntry& e : RowMenuEntries()) {
        if (e.id == 0) {
            menu.addSeparator();
            continue;
        }
        const int id = e.id;
        if (id == ID_GRID_IMPORT && !m_bImport)
            continue; // not offered to operators who may not change records
        menu.addAction(e.text, this, [this, id] { OnCommand(static_cast<unsigned>(id), 0); });
    }
    menu.exec(event->globalPos());
    event->accept();
}

void CAdoGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || index.column() == 0)
        return;
    const int key = m_model.Rows().Key(index.row());
    post([this, key] { emit gridOpenRow(key); });
    const bool keyColumn = m_rs.IsOpen() && GetHeadingText(index.column()) == m_rs.GetFieldName(0);
    if (m_bEditing && !keyColumn && !m_pEditor->IsOpen()) {
        m_nEditRow = index.row();
        m_nEditColumn = index.column();
        m_pTip->hide();
        // On the window rather than the list's viewport, so that the window's accessible
        // tree holds it (a list's own children are its cells).
        QWidget* host = parentWidget() ? parentWidget() : viewport();
        m_pEditor->ShowEditor(host, editorRect(host), m_model.CellText(index.row(), index.column()), key,
                              m_strTable, GetHeadingText(index.column()), m_pConnection);
    }
}

QRect CAdoGridCtrl::editorRect(QWidget* host) const {
    const QRect cell = visualRect(m_model.index(m_nEditRow, m_nEditColumn));
    return QRect(viewport()->mapTo(host, cell.topLeft()), cell.size());
}

void CAdoGridCtrl::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    if (!m_pEditor->IsOpen())
        return;
    // The editor goes with its cell; a cell scrolled out of sight ends the edit, as leaving does.
    const QRect cell = visualRect(m_model.index(m_nEditRow, m_nEditColumn));
    if (!viewport()->rect().contains(cell.center()))
        m_pEditor->EndEdit(true);
    else if (QWidget* host = m_pEditor->parentWidget())
        m_pEditor->move(editorRect(host).topLeft());
}

void CAdoGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit gridClicked(event->position().toPoint());
}

void CAdoGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    QTableView::mouseMoveEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid() || m_pEditor->IsOpen()) {
        m_pTip->hide();
        return;
    }
    const QString text = m_model.CellText(index.row(), index.column());
    const QRect cell = visualRect(index);
    if (cell.width() - 12 < fontMetrics().horizontalAdvance(text)) {
        // The whole text of a cut-off cell, at once, over the cell.
        m_pTip->setFont(font());
        m_pTip->setText(text);
        m_pTip->adjustSize();
        m_pTip->move(viewport()->mapToGlobal(cell.topLeft()));
        m_pTip->show();
        m_tipWatch.start();
    } else {
        m_pTip->hide();
    }
}

bool CAdoGridCtrl::pointerInList() const {
    return isVisible() && viewport()->rect().contains(viewport()->mapFromGlobal(QCursor::pos()));
}

bool CAdoGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && !pointerInList())
        m_pTip->hide();
    return QTableView::viewportEvent(event);
}

void CAdoGridCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    // Selected and focused: the owner hears of it.
    QTimer::singleShot(0, this, [this, row = current.row()] {
        if (row >= m_model.rowCount() || !IsItemSelected(row) ||
            currentIndex().row() != row)
            return;
        m_nLastSelectedKey = m_model.Rows().Key(row);
        emit gridSelChange(m_nLastSelectedKey);
    });
}

void CAdoGridCtrl::OnCellSaved(int key) {
    RefreshRow(key);
    emit gridCellSaved(key);
}

QString CAdoGridCtrl::DefaultSpreadsheetPath() const {
    return QDir::cleanPath(LocalPath(FormatText(QStringLiteral("%s\\excel\\%s.XLS"), ApplicationDirectory(), m_strTable)));
}

void CAdoGridCtrl::ExportSelected() {
    std::vector<std::int32_t> keys;
    GetSelectedKeys(keys);
    if (keys.empty()) {
        MessageBox(this, QStringLiteral("请在列表中选择要导出的项目！"), QString(), MB_OK | MB_ICONINFORMATION);
        return;
    }
    ExportRows(keys, QString());
}

bool CAdoGridCtrl::ExportRows(const std::vector<std::int32_t>& keys, QString file) {
    const bool asked = file.isEmpty();
    if (asked) {
        FileDialogRequest request;
        request.save = true;
        request.initialPath = DefaultSpreadsheetPath();
        request.filter = QStringLiteral("Excel 97-2003 工作簿 (*.xls *.XLS);;Excel 工作簿 (*.xlsx *.XLSX)");
        request.confirmOverwrite = true;
        file = AskFile(this, request);
        if (file.isEmpty())
            return false;
    }
    const bool xlsx = file.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    // A .xls sheet holds 65 536 rows with the heading; say so before writing anything.
    if (!xlsx && keys.size() > 65535) {
        MessageBox(this,
                   FormatText(QStringLiteral("要导出 %d 行，超过了 .xls 工作表能容纳的 65535 行。\r\n请改存为 "
                                             ".xlsx 文件（最多 1048575 行）。"),
                              static_cast<int>(keys.size())),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const BusyCursor busy;
    const QString connect = QStringLiteral("DRIVER={MICROSOFT EXCEL DRIVER (*.XLS)};DSN='';FIRSTROWHASNAMES=1;"
                                           "READONLY=FALSE;CREATE_DB=\"") +
                            file + QStringLiteral("\";DBQ=") + file;
    CAdoConnection workbook;
    if (!workbook.Open(connect, -1)) {
        MessageBox(this, FormatText(QStringLiteral("连接EXCEL文件：%s 失败!\n信息：%s"), file, workbook.m_strLastError),
                   QString(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    QString definitions, names;
    for (int c = 0; c < m_model.columnCount(); ++c) {
        const QString heading = GetHeadingText(c);
        definitions += heading + QStringLiteral(" TEXT,");
        names += heading + QLatin1Char(',');
    }
    definitions.chop(1);
    names.chop(1);
    if (!workbook.Execute(QStringLiteral("CREATE TABLE ") + m_strTable + QStringLiteral(" (") + definitions +
                              QLatin1Char(')'),
                          adCmdText)) {
        MessageBox(this, FormatText(QStringLiteral("创建表失败!\n信息：%s"), workbook.m_strLastError), QString(),
                   MB_OK | MB_ICONEXCLAMATION);
        workbook.Close();
        return false;
    }
    QString marks;
    for (int c = 0; c < m_model.columnCount(); ++c)
        marks += c ? QStringLiteral(",?") : QStringLiteral("?");
    adodb::CommandPtr insert = adodb::Command::Create();
    insert->PutRefActiveConnection(workbook.GetConnection());
    insert->PutCommandText(QStringLiteral("INSERT INTO ") + m_strTable + QStringLiteral(" (") + names +
                           QStringLiteral(") VALUES (") + marks + QLatin1Char(')'));
    QProgressDialog progress(QStringLiteral("正在导出到Excel文件……"), QString(), 0, static_cast<int>(keys.size()), this);
    progress.setCancelButton(nullptr);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    std::vector<adodb::Variant> values(static_cast<size_t>(m_model.columnCount()));
    int failed = 0;
    for (size_t k = 0; k < keys.size(); ++k) {
        if (k % 1024 == 0)
            progress.setValue(static_cast<int>(k));
        const int row = FindRow(keys[k]);
        for (int c = 0; c < m_model.columnCount(); ++c)
            values[static_cast<size_t>(c)] = adodb::Variant(row >= 0 ? m_model.CellText(row, c) : QString());
        try {
            insert->Execute(nullptr, values);
        } catch (const adodb::ComError&) {
            ++failed;
        }
    }
    progress.reset();
    workbook.m_strLastError.clear();
    workbook.Close(); // writes the workbook beside the file and puts it into place
    if (!workbook.m_strLastError.isEmpty()) {
        MessageBox(this, QStringLiteral("导出失败，文件没有写成：\r\n") + workbook.m_strLastError, QString(),
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (failed > 0)
        MessageBox(this, FormatText(QStringLiteral("有 %d 行没有导出。"), failed), QString(),
                   MB_OK | MB_ICONEXCLAMATION);
    if (asked)
        ShellOpen(file);
    return true;
}

void CAdoGridCtrl::ImportFromSpreadsheet() {
    FileDialogRequest request;
    request.initialPath = DefaultSpreadsheetPath();
    request.filter = QStringLiteral("Excel 工作簿 (*.xlsx *.XLSX *.Xlsx *.xls *.XLS *.Xls)");
    const QString path = AskFile(this, request);
    if (path.isEmpty() || !m_pConnection)
        return;
    auto refuse = [&](const QString& text) { MessageBox(this, text, QString(), MB_OK | MB_ICONEXCLAMATION); };
    const BusyCursor busy;
    QString why;
    std::unique_ptr<SpreadsheetReader> book = SpreadsheetReader::Open(path, &why);
    if (!book)
        return refuse(QStringLiteral("打开Excel文件失败!"));
    if (book->SheetNames().isEmpty())
        return refuse(QStringLiteral("打开Excel表失败!"));
    if (!book->SheetNames().contains(m_strTable))
        return refuse(QStringLiteral("打开 ") + m_strTable + QStringLiteral(" 失败!"));

    // The table's columns, and which can take a cell (a long binary one holds no photo).
    QHash<QString, QString> byLowerName;
    const QString keyField = m_rs.IsOpen() ? m_rs.GetFieldName(0) : QString();
    for (long k = 0; m_rs.IsOpen() && k < m_rs.GetFieldsCount(); ++k) {
        const QString name = m_rs.GetFieldName(k);
        if (m_rs.GetFieldType(name) != adLongVarBinary)
            byLowerName.insert(name.toLower(), name);
    }
    adodb::ConnectionPtr db = m_pConnection->GetConnection();
    QMap<int, QString> recognised; // sheet column (from 0) -> field
    adodb::CommandPtr update, insert;
    std::vector<adodb::Variant> values;
    int keyColumn = -1;
    int added = 0, updated = 0;
    QStringList refused;
    bool cancelled = false;
    static const QRegularExpression eightDigits(QStringLiteral("^[0-9]{8}$"));
    // Window-modal: nothing else in the window writes while the import's transaction is open.
    QProgressDialog progress(QStringLiteral("正在从Excel文件导入……"), QStringLiteral("取消"), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setValue(0); // shows itself after half a second
    try {
        db->BeginTrans();
        const bool read = book->ReadSheet(m_strTable, [&](int row, const QStringList& cells) {
            if (row == 1) {
                for (int c = 0; c < cells.size(); ++c) {
                    const QString field = byLowerName.value(cells[c].trimmed().toLower());
                    if (field.isEmpty())
                        continue;
                    if (field == keyField)
                        keyColumn = c;
                    else
                        recognised.insert(c, field);
                }
                // One UPDATE and one INSERT for every row, over the recognised columns.
                QStringList assignments, columns, marks;
                for (auto it = recognised.constBegin(); it != recognised.constEnd(); ++it) {
                    assignments << it.value() + QStringLiteral("=?");
                    columns << it.value();
                    marks << QStringLiteral("?");
                }
                update = adodb::Command::Create();
                update->PutRefActiveConnection(db);
                update->PutCommandText(QStringLiteral("UPDATE ") + m_strTable + QStringLiteral(" SET ") +
                                       assignments.join(QLatin1Char(',')) + QStringLiteral(" WHERE ") + keyField +
                                       QStringLiteral("=?"));
                insert = adodb::Command::Create();
                insert->PutRefActiveConnection(db);
                insert->PutCommandText(QStringLiteral("INSERT INTO ") + m_strTable + QStringLiteral(" (") +
                                       columns.join(QLatin1Char(',')) + QStringLiteral(") VALUES (") +
                                       marks.join(QLatin1Char(',')) + QLatin1Char(')'));
                return true;
            }
            if (row % 256 == 0) {
                progress.setLabelText(FormatText(QStringLiteral("正在从Excel文件导入……第 %d 行"), row));
                QCoreApplication::processEvents();
                if (progress.wasCanceled()) {
                    cancelled = true;
                    return false;
                }
            }
            if (book->RowWasCut()) {
                // A cut text is not what the file says: the row is left for the operator.
                refused << FormatText(QStringLiteral("第%d行：有单元格超过%d个字符"), row,
                                      static_cast<int>(SpreadsheetReader::kMaxCellCharacters));
                return true;
            }
            values.clear();
            bool any = false;
            for (auto it = recognised.constBegin(); it != recognised.constEnd(); ++it) {
                QString value = cells.value(it.key());
                any = any || !value.isEmpty();
                if (it.value() == QStringLiteral("出生日期") && eightDigits.match(value).hasMatch())
                    value = value.left(4) + QStringLiteral("年") + value.mid(4, 2) + QStringLiteral("月") +
                            value.mid(6, 2) + QStringLiteral("日");
                values.emplace_back(value);
            }
            const QString keyText = keyColumn >= 0 ? cells.value(keyColumn).trimmed() : QString();
            if (!any && keyText.isEmpty())
                return true; // a blank row
            if (values.empty())
                return true; // nothing to write
            try {
                if (!keyText.isEmpty()) {
                    bool whole = false;
                    const int key = keyText.toInt(&whole);
                    if (!whole) {
                        refused << FormatText(QStringLiteral("第%d行：%s“%s”不是整数"), row, keyField, keyText);
                        return true;
                    }
                    values.emplace_back(key);
                    long affected = 0;
                    update->Execute(&affected, values);
                    values.pop_back();
                    if (affected > 0) {
                        ++updated;
                        return true;
                    }
                }
                insert->Execute(nullptr, values);
                ++added;
            } catch (const adodb::ComError& e) {
                refused << FormatText(QStringLiteral("第%d行：%s"), row, e.Description());
            }
            return true;
        }, &why);
        book.reset(); // the .xls reader's process ends here
        progress.reset(); // gone, and not shown later over the messages below
        if (!read || cancelled) {
            db->RollbackTrans();
            refuse(cancelled ? QStringLiteral("导入已取消，没有导入任何记录。")
                             : QStringLiteral("获得 ") + m_strTable + QStringLiteral(" 内容失败!"));
            return;
        }
        db->CommitTrans();
    } catch (const adodb::ComError& e) {
        progress.reset();
        try {
            db->RollbackTrans();
        } catch (const adodb::ComError&) {
        }
        refuse(QStringLiteral("导入失败，没有导入任何记录：\r\n") + e.Description());
        return;
    }
    QString report = FormatText(QStringLiteral("共成功导入%d条记录。其中增加%d条，更新%d条。"), added + updated, added, updated);
    if (!refused.isEmpty())
        report += QStringLiteral("\r\n以下各行没有导入：\r\n") + refused.mid(0, 50).join(QStringLiteral("\r\n")) +
                  (refused.size() > 50 ? FormatText(QStringLiteral("\r\n……共%d行"), static_cast<int>(refused.size())) : QString());
    MessageBox(this, report, QString(), MB_OK | MB_ICONINFORMATION);
    Refresh(false);
    emit gridImported();
}
