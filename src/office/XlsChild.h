#pragma once
// FreeXL run in a process of its own (vrin-xlsread). FreeXL trusts what a .xls file claims,
// and a corrupt file can make it fault; that ends its process, never the program, and the
// reader reports a file it cannot read. The process opens the file, sends the sheet names,
// then the cells of each sheet asked for, row by row, while the program goes on with them.

#include <QString>
#include <QStringList>

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <vector>

// One cell as FreeXL gives it.
struct XlsCell {
    enum Type : std::uint8_t { None, Integer, Real, Text };
    Type type = None; // None: empty, or a formula whose result FreeXL does not give
    std::int64_t integer = 0;
    double real = 0;
    QString text;
};

class XlsChild {
public:
    XlsChild() = default;
    ~XlsChild(); // ends the process
    XlsChild(const XlsChild&) = delete;
    XlsChild& operator=(const XlsChild&) = delete;

    // Starts the process on the file; it opens the file while the caller goes on.
    bool Start(const QString& path, QString* error);
    // Waits for the sheet names. FALSE (with the reason) when FreeXL does not open the
    // file, it is password protected, or the process fails.
    bool ReceiveNames(QString* error);
    // Ends the process, whatever it is doing.
    void Stop();
    // The process while it runs, else -1.
    pid_t ProcessId() const { return m_pid; }
    QStringList SheetNames() const { return m_names; }
    // The cells of a sheet (by index), a row at a time with its number from 0, until the
    // callback returns FALSE (which ends the process). FALSE when there is no such sheet or
    // the process fails before the sheet's end.
    bool ReadSheet(int index, const std::function<bool(unsigned int row, const std::vector<XlsCell>& cells)>& row);

    // Longest wait for the process to say anything before it is taken for hung.
    static constexpr int kSilenceMs = 30000;

private:
    bool receive(QByteArray& frame);
    // Ends the process and gives the reason; FALSE.
    bool stopWith(const QString& why, QString* error);

    pid_t m_pid = -1;
    int m_socket = -1;
    QByteArray m_buffer; // received, not yet taken
    QStringList m_names;
};
