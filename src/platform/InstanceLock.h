#pragma once
// The guard against a second running copy: a lock file in the user's runtime folder named
// after the program's mutex. A copy that crashed leaves no lock behind.

#include <QLockFile>
#include <QString>

#include <memory>

inline const QString kInstanceMutexName = QStringLiteral("{1C6780D2-4079-41fa-8F5F-8FCC82BD15DD}");

class InstanceLock {
public:
    explicit InstanceLock(const QString& name = kInstanceMutexName);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // FALSE when another running copy holds the lock.
    bool TryLock();
    void Release();
    bool IsHeld() const { return m_held; }
    // Where the lock file lies: the runtime folder as it is when the lock is taken.
    QString FilePath() const { return RuntimeFolder() + QLatin1Char('/') + m_name + QStringLiteral(".lock"); }

    // VRIN_RUNTIME_DIR, else the user's runtime folder.
    static QString RuntimeFolder();

private:
    QString m_name;
    std::unique_ptr<QLockFile> m_file;
    bool m_held = false;
};
