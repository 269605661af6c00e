#include "grid/LCEditComboBox.h"

#include "ado/AdoRecordSet.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "platform/OleDateTime.h"
#include "widgets/ControlIds.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QCollator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QStyle>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace adodb;

namespace {

bool startsWithIgnoringAsciiCase(const QString& text, const QString& prefix) {
    if (prefix.size() > text.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        char16_t a = text.at(i).unicode(), b = prefix.at(i).unicode();
        if (a >= 'A' && a <= 'Z')
            a += 32;
        if (b >= 'A' && b <= 'Z')
            b += 32;
        if (a != b)
            return false;
    }
    return true;
}

QString withoutLeadingBlanks(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    return text.mid(i);
}

// The range of whole numbers a column of this type holds.
void integerRange(long type, long long& low, long long& high) {
    switch (type) {
    case adSmallInt:
        low = std::numeric_limits<short>::min();
        high = std::numeric_limits<short>::max();
        break;
    case adUnsignedTinyInt:
        low = 0;
        high = 255;
        break;
    case adBigInt:
        low = std::numeric_limits<long long>::min();
        high = std::numeric_limits<long long>::max();
        break;
    default:
        low = std::numeric_limits<std::int32_t>::min();
        high = std::numeric_limits<std::int32_t>::max();
        break;
    }
}

// What assistive technology sees of the editor: an editable combo box named after its
// column, whose value is the typed text.
class AccessibleCellEditor : public QAccessibleWidget {
public:
    explicit AccessibleCellEditor(QWidget* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.expandable = true;
        return s;
    }
    QString text(QAccessible::Text t) const override {
        auto* box = static_cast<QComboBox*>(widget());
        if (t == QAccessible::Value)
            return box->currentText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* cellEditorInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("CLCEditComboBox") && object && object->isWidgetType())
        return new AccessibleCellEditor(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

CLCEditComboBox::CLCEditComboBox(QWidget* parent) : QComboBox(parent) {
    static const bool accessible = (QAccessible::installFactory(cellEditorInterface), true);
    (void)accessible;
    SetControlId(this, kControlId);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // completion is our own, below
    setMaxVisibleItems(kMaxDroppedRows);
    setAccessibleName(QStringLiteral("单元格编辑"));
    setStyleSheet(QStringLiteral("QComboBox, QComboBox QAbstractItemView, QComboBox QLineEdit "
                                 "{ color: rgb(255,7,5); background: rgb(0,255,255); }"));
    lineEdit()->installEventFilter(this);
    installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, &CLCEditComboBox::complete);
    hide();
}

QStringList CLCEditComboBox::CollectChoices(CAdoConnection* connection, const QString& table,
                                            const QString& field) {
    QStringList choices;
    CAdoRecordSet rs;
    rs.SetAdoConnection(connection);
    if (!rs.Open(FormatText(QStringLiteral("SELECT DISTINCT [%s] FROM %s"), field, table)))
        return choices;
    QSet<QString> seen;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) {
        QString text = withoutLeadingBlanks(rs.VariantToDisplayText(rs.GetCollectValue(0)));
        if (!text.isEmpty() && !seen.contains(text)) {
            seen.insert(text);
            choices << text;
        }
    }
    rs.Close();
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::vector<std::pair<QCollatorSortKey, QString>> keyed;
    keyed.reserve(static_cast<size_t>(choices.size()));
    for (const QString& c : std::as_const(choices))
        keyed.emplace_back(collator.sortKey(c), c);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    choices.clear();
    for (const auto& k : keyed)
        choices << k.second;
    return choices;
}

void CLCEditComboBox::ShowEditor(QWidget* parent, const QRect& cell, const QString& text, int key,
                                 const QString& table, const QString& field,
                                 CAdoConnection* connection) {
    if (!parent || m_bOpen || !connection)
        return;
    m_nKey = key;
    m_strPrevText = text;
    m_strTable = table;
    m_strField = field;
    m_pConnection = connection;
    if (!openRow())
        return;
    if (m_aChoices.isEmpty())
        m_aChoices = CollectChoices(connection, table, field);

    QRect r = cell;
    const QFontMetrics metrics(parent->font());
    QString widest;
    for (const QString& c : std::as_const(m_aChoices))
        if (c.size() >= widest.size())
            widest = c;
    const int width = metrics.horizontalAdvance(widest) +
                      style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                      metrics.horizontalAdvance(QLatin1Char(' '));
    if (width > r.width())
        r.setWidth(width);

    setParent(parent);
    setFont(parent->font());
    setAccessibleName(field);
    clear();
    addItems(m_aChoices);
    setEditText(text);
    setGeometry(r);
    m_bOpen = true;
    m_bClosing = false;
    show();
    setFocus(Qt::OtherFocusReason);
    lineEdit()->selectAll();
}

// Reads the row being edited; its values are what the save checks the row against.
bool CLCEditComboBox::openRow() {
    m_record.Close();
    m_record.SetAdoConnection(m_pConnection);
    try {
        RecordsetPtr raw = m_record.GetRecordset();
        raw->Open(FormatText(QStringLiteral("SELECT * FROM %s WHERE FALSE"), m_strTable),
                  m_pConnection->GetConnection(), adOpenStatic, adLockReadOnly, adCmdText);
        const QString keyField = raw->GetFields()->GetItem(Variant(0))->GetName();
        raw->Close();
        raw->Open(FormatText(QStringLiteral("SELECT * FROM %s WHERE %s=%d"), m_strTable, keyField, m_nKey),
                  m_pConnection->GetConnection(), adOpenDynamic, adLockOptimistic, adCmdText);
        if (!raw->GetEOF())
            return true; // a row gone meanwhile opens nothing
    } catch (const ComError& e) {
        if (IsLockTimeout(e))
            refuse(QStringLiteral("现在无法编辑这一项：\r\n") + e.Description(), QStringLiteral("失败"));
    }
    m_record.Close();
    return false;
}

void CLCEditComboBox::EndEdit(bool save) {
    if (!m_bOpen || m_bClosing)
        return;
    m_bClosing = true; // a focus loss while saving or hiding saves nothing more
    m_strText = currentText();
    if (save && SaveCell() == Saved::Retry) {
        m_bClosing = false;
        setFocus(Qt::OtherFocusReason);
        return;
    }
    m_bOpen = false;
    hide();
    m_aChoices.clear();
    m_record.Close();
    m_bClosing = false;
}

void CLCEditComboBox::refuse(const QString& text, const QString& caption) {
    MessageBox(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

CLCEditComboBox::Store CLCEditComboBox::storeValue(CAdoRecordSet& record) {
    const QString field = m_strField;
    auto put = [](bool ok) { return ok ? Store::Put : Store::PutFailed; };
    switch (record.GetFieldKind(field)) {
    case 1: { // numbers, yes/no included
        QString t = m_strText;
        t.replace(QStringLiteral("是"), QStringLiteral("1"));
        t.replace(QStringLiteral("否"), QStringLiteral("0"));
        t = t.trimmed();
        if (t.isEmpty())
            return put(record.PutCollect(field, Variant::Null()));
        bool ok = false;
        long long low = 0, high = 0;
        integerRange(record.GetFieldType(field), low, high);
        if (t.contains(QLatin1Char('.'))) {
            const double value = t.toDouble(&ok);
            if (ok && std::isfinite(value))
                return put(record.PutValue(field, value));
        } else {
            const long long value = t.toLongLong(&ok);
            if (ok && value >= low && value <= high)
                return put(high > std::numeric_limits<int>::max()
                               ? record.PutValue(field, value)
                               : record.PutValue(field, static_cast<int>(value)));
        }
        refuse(FormatText(QStringLiteral("%s 必须是数字！"), field), QStringLiteral("输入错误"));
        return Store::Refused;
    }
    case 2: { // dates
        if (m_strText.trimmed().isEmpty())
            return put(record.PutCollect(field, Variant::Null()));
        COleDateTime date;
        if (!date.ParseDateTime(m_strText)) {
            refuse(FormatText(QStringLiteral("%s 日期格式输入错误！\r\n正确的格式如:\r\n"
                                             "[2002年12月1日15时45分],[2002年12月1日],"
                                             "[2002年12月],[2002-12-1],[2002-12]……等"),
                              field),
                   QStringLiteral("输入错误"));
            return Store::Refused;
        }
        return put(record.PutValue(field, date));
    }
    case 3:
        return put(record.PutValue(field, m_strText));
    default:
        return Store::Put; // other kinds store nothing
    }
}

CLCEditComboBox::Saved CLCEditComboBox::SaveCell() {
    if (m_strText == m_strPrevText || !m_pConnection || !m_record.IsOpen() || m_record.IsEOF())
        return Saved::Nothing;
    const QString failed = QStringLiteral("保存失败。请确认该项是否可以修改，或者值是否存在!\n");
    const Store stored = storeValue(m_record);
    if (stored == Store::Refused) {
        m_record.CancelUpdate();
        return Saved::Refused; // a number or date that is none: nothing saved, the previous text kept
    }
    if (stored == Store::PutFailed) {
        m_record.CancelUpdate();
        refuse(failed, QStringLiteral("失败"));
        m_strPrevText = m_strText;
        return Saved::Refused;
    }
    try {
        // Checked against the row as it was read when the editor opened.
        m_record.GetRecordset()->Update();
    } catch (const ComError& e) {
        m_record.CancelUpdate();
        refuse(failed + e.Description(), QStringLiteral("失败"));
        if (IsLockTimeout(e))
            return Saved::Retry; // nothing stored yet: the typed text stays for another Enter
        if (e.Error() == DB_E_CONCURRENCYVIOLATION)
            emit rowChanged(m_nKey);
        m_strPrevText = m_strText;
        return Saved::Refused;
    }
    m_record.Close();
    m_strPrevText = m_strText;
    emit cellSaved(m_nKey);
    return Saved::Yes;
}

void CLCEditComboBox::complete(const QString& typed) {
    if (!m_bAutoComplete || m_bDeleting || typed.isEmpty())
        return;
    QLineEdit* edit = lineEdit();
    for (int i = 0; i < count(); ++i) {
        const QString entry = itemText(i);
        if (!startsWithIgnoringAsciiCase(entry, typed))
            continue;
        // The completed part is selected, so that typing on replaces it.
        edit->setText(entry);
        edit->setSelection(static_cast<int>(entry.size()), -static_cast<int>(entry.size() - typed.size()));
        return;
    }
}

bool CLCEditComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool press = event->type() == QEvent::KeyPress;
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)
            m_bDeleting = press;
        if (press && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            EndEdit(true);
            return true;
        }
        if (press && key->key() == Qt::Key_Escape) {
            EndEdit(false);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && m_bOpen && !m_bClosing) {
        auto* focus = static_cast<QFocusEvent*>(event);
        // The drop-down list taking the focus is still this edit.
        if (focus->reason() != Qt::PopupFocusReason && !view()->isVisible())
            EndEdit(true);
    }
    return QComboBox::eventFilter(watched, event);
}

void CLCEditComboBox::paintEvent(QPaintEvent* event) {
    QComboBox::paintEvent(event);
    // Flat: a raised border while the pointer is over the box or it has the focus.
    QPainter painter(this);
    const bool raised = underMouse() || hasFocus() || lineEdit()->hasFocus();
    const QPalette& p = palette();
    const QColor topLeft = raised ? p.light().color() : p.button().color();
    const QColor bottomRight = raised ? p.dark().color() : p.button().color();
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

void CLCEditComboBox::enterEvent(QEnterEvent* event) {
    QComboBox::enterEvent(event);
    update();
}

void CLCEditComboBox::leaveEvent(QEvent* event) {
    QComboBox::leaveEvent(event);
    update();
}
