#pragma once
// The error every operation of the object model raises: a result code, a description in
// words and the name of the component that raised it.

#include "adodb/AdoTypes.h"

#include <QString>

#include <exception>
#include <string>

namespace adodb {

class ComError : public std::exception {
public:
    ComError(HRESULT hr, QString description, QString source = QString(),
             QString sqlState = QString(), long nativeError = 0);

    HRESULT Error() const { return m_hr; }
    const QString& Description() const { return m_description; }
    const QString& Source() const { return m_source; }
    const QString& SQLState() const { return m_sqlState; }
    long NativeError() const { return m_nativeError; }
    // The system's text for the result code (what a message table says of it).
    QString ErrorMessage() const;

    const char* what() const noexcept override { return m_what.c_str(); }

private:
    HRESULT m_hr;
    QString m_description;
    QString m_source;
    QString m_sqlState;
    long m_nativeError;
    std::string m_what;
};

// The system's text for a result code.
QString SystemMessageText(HRESULT hr);

// The database stayed locked by another user past the wait: trying again later may work.
bool IsLockTimeout(const ComError& e);
// The SQL state of such an error.
QString LockTimeoutState();

// Sources named in errors.
QString JetSource();       // the database engine
QString RecordsetSource(); // the object model's recordset
QString ConnectionSource();
QString FieldSource();

} // namespace adodb
