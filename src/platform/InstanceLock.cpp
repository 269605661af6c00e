#include "platform/InstanceLock.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdlib>

QString InstanceLock::RuntimeFolder() {
    const char* env = std::getenv("VRIN_RUNTIME_DIR");
    if (env && *env)
        return QString::fromLocal8Bit(env);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? QDir::tempPath() : dir;
}

InstanceLock::InstanceLock(const QString& name)
    : m_name(name) {}

InstanceLock::~InstanceLock() {
    Release();
}

bool InstanceLock::TryLock() {
    if (m_held)
        return true;
    QDir().mkpath(RuntimeFolder());
    m_file = std::make_unique<QLockFile>(FilePath());
    m_file->setStaleLockTime(0); // a lock is stale only when its holder is gone
    m_held = m_file->tryLock(0);
    if (!m_held)
        m_file.reset();
    return m_held;
}

void InstanceLock::Release() {
    if (m_file)
        m_file->unlock();
    m_file.reset();
    m_held = false;
}
