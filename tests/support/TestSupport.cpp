#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

TestDir::TestDir() : m_dir(QDir::tempPath() + QStringLiteral("/vrin-test-XXXXXX")) {
    EXPECT_TRUE(m_dir.isValid());
}

QString TestDir::Path(const QString& name) const {
    return m_dir.filePath(name);
}

QString TestDir::Folder() const {
    return m_dir.path() + QLatin1Char('/');
}

void TestDir::Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
    f.write(bytes);
}

QByteArray TestDir::Read(const QString& name) const {
    QFile f(Path(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TestDir::Exists(const QString& name) const {
    return QFileInfo::exists(Path(name));
}
