#pragma once
// A database file in a temporary folder, opened through the Jet provider.

#include "adodb/Connection.h"
#include "adodb/Field.h"
#include "adodb/Recordset.h"

#include "TestSupport.h"

#include <QStringList>

class AdodbTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Opens another connection on the same file.
    adodb::ConnectionPtr Connect(const QString& extra = QString()) const;
    void Exec(const QString& sql) const;
    adodb::RecordsetPtr Query(const QString& sql,
                              adodb::CursorTypeEnum cursor = adodb::adOpenDynamic,
                              adodb::LockTypeEnum lock = adodb::adLockOptimistic) const;
    // The values of one column over all rows of a query, as strings.
    QStringList Column(const QString& sql, const QString& field) const;
    // The resident table of the program, with a handful of residents.
    void CreateResidents() const;

    TestDir m_dir;
    QString m_path;
    adodb::ConnectionPtr m_conn;
};

// Runs f and returns the result code of the ComError it raises (0 when it raises none).
template <class F> adodb::HRESULT ErrorOf(F&& f, QString* description = nullptr) {
    try {
        f();
    } catch (const adodb::ComError& e) {
        if (description)
            *description = e.Description();
        return e.Error();
    }
    return 0;
}
