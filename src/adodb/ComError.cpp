#include "adodb/ComError.h"

namespace adodb {

ComError::ComError(HRESULT hr, QString description, QString source, QString sqlState,
                   long nativeError)
    : m_hr(hr), m_description(std::move(description)), m_source(std::move(source)),
      m_sqlState(std::move(sqlState)), m_nativeError(nativeError) {
    m_what = QStringLiteral("0x%1: %2")
                 .arg(static_cast<quint32>(m_hr), 8, 16, QLatin1Char('0'))
                 .arg(m_description)
                 .toStdString();
}

QString LockTimeoutState() {
    return QStringLiteral("HYT00");
}

bool IsLockTimeout(const ComError& e) {
    return e.SQLState() == LockTimeoutState();
}

QString ComError::ErrorMessage() const {
    return SystemMessageText(m_hr);
}

QString SystemMessageText(HRESULT hr) {
    switch (static_cast<quint32>(hr)) {
    case 0x00000000u:
        return QStringLiteral("操作成功完成。");
    case 0x80004005u:
        return QStringLiteral("未指定的错误");
    case 0x80070057u:
        return QStringLiteral("参数不正确。");
    case 0x8007000Eu:
        return QStringLiteral("内存不足，无法完成此操作。");
    case 0x80040E14u:
        return QStringLiteral("命令中包含一个或多个错误。");
    case 0x80040E21u:
        return QStringLiteral(
            "多步 OLE DB 操作产生错误。请检查每个 OLE DB 状态值。没有工作被完成。");
    case 0x80040E37u:
        return QStringLiteral("指定的表不存在。");
    case 0x80040E38u:
        return QStringLiteral("行无法定位以进行更新，某些值可能在上次读取后已被更改。");
    default:
        return QStringLiteral("未知错误 0x%1")
            .arg(static_cast<quint32>(hr), 8, 16, QLatin1Char('0'));
    }
}

QString JetSource() {
    return QStringLiteral("Microsoft JET Database Engine");
}
QString RecordsetSource() {
    return QStringLiteral("ADODB.Recordset");
}
QString ConnectionSource() {
    return QStringLiteral("ADODB.Connection");
}
QString FieldSource() {
    return QStringLiteral("ADODB.Field");
}

} // namespace adodb
