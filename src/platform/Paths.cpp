#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>

QString ShareRoot() {
    const char* root = std::getenv("VRIN_SHARE_ROOT");
    return root && *root ? QString::fromLocal8Bit(root) : QStringLiteral("/mnt");
}

QString LocalPath(const QString& path) {
    QString p = path;
    if (p.startsWith(QLatin1String("\\\\")) || p.startsWith(QLatin1String("//"))) {
        QString rest = p.mid(2);
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        QString root = ShareRoot();
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        return root + rest;
    }
    if (p.size() >= 3 && p.at(0).isLetter() && p.at(1) == QLatin1Char(':') &&
        (p.at(2) == QLatin1Char('\\') || p.at(2) == QLatin1Char('/'))) {
        QString rest = p.mid(3);
        rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return QDir::tempPath() + QLatin1Char('/') + rest;
    }
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString ExecutableDirectory() {
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString ApplicationDirectory() {
    QString dir;
    const char* env = std::getenv("VRIN_APPDIR");
    if (env && *env) {
        dir = QString::fromLocal8Bit(env);
    } else {
        dir = ExecutableDirectory();
        if (!QFileInfo(dir).isWritable()) {
            dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/VRIN");
            QDir().mkpath(dir);
        }
    }
    dir = QDir::cleanPath(QDir(dir).absolutePath());
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}
