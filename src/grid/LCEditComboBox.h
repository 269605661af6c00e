#pragma once
// The in-cell editor of a grid: a flat editable drop-down over a cell, offering the
// column's distinct values and completing typed text from them. The row is read when the
// editor opens; Enter or leaving it saves the value into that row unless another user
// changed it meanwhile; Escape closes it without saving.

#include "ado/AdoConnection.h"
#include "ado/AdoRecordSet.h"

#include <QComboBox>
#include <QStringList>

#include <cstdint>

class CLCEditComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kControlId = 1110;
    static constexpr int kMaxDroppedRows = 15;

    explicit CLCEditComboBox(QWidget* parent = nullptr);

    // Opens over the cell with the row read; nothing happens while an edit is open, and a
    // row that cannot be read opens nothing (a lock is told).
    void ShowEditor(QWidget* parent, const QRect& cell, const QString& text, int key,
                    const QString& table, const QString& field, CAdoConnection* connection);
    // Ends the edit, saving when asked to. A save the database could not take for a lock
    // keeps the editor open on the typed text, so that Enter tries again.
    void EndEdit(bool save);
    enum class Saved { Yes, Nothing, Refused, Retry };
    // Writes the text into the row read when the editor opened.
    Saved SaveCell();
    bool IsOpen() const { return m_bOpen; }
    void EnableAutoComplete(bool on) { m_bAutoComplete = on; }

    QStringList m_aChoices;
    QString m_strPrevText;
    QString m_strText;
    QString m_strField;
    QString m_strTable;
    std::int32_t m_nKey = 0;

    // The column's distinct display values without leading blanks, in the database's
    // text order (pinyin).
    static QStringList CollectChoices(CAdoConnection* connection, const QString& table,
                                      const QString& field);

signals:
    // Sent after a saved cell; the grid re-reads the row.
    void cellSaved(int key);
    // Another user changed the row: the grid shows it as it is now.
    void rowChanged(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Store { Put, Refused, PutFailed };
    void complete(const QString& typed);
    bool openRow();
    Store storeValue(CAdoRecordSet& record);
    void refuse(const QString& text, const QString& caption);

    CAdoRecordSet m_record; // the row as it was read when the editor opened
    CAdoConnection* m_pConnection = nullptr;
    bool m_bOpen = false;
    bool m_bClosing = false;
    bool m_bAutoComplete = true;
    bool m_bDeleting = false;
};
