#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

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

bool PdfToTextInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

bool ReadPdfWords(const QString& path, std::vector<PdfWord>& words) {
    words.clear();
    if (!PdfToTextInstalled())
        return false;
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return false;
    QXmlStreamReader xml(pdftotext.readAllStandardOutput());
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const QXmlStreamAttributes a = xml.attributes();
            PdfWord w;
            w.xMin = a.value(QLatin1String("xMin")).toDouble();
            w.yMin = a.value(QLatin1String("yMin")).toDouble();
            w.xMax = a.value(QLatin1String("xMax")).toDouble();
            w.yMax = a.value(QLatin1String("yMax")).toDouble();
            w.page = page;
            w.text = xml.readElementText();
            words.push_back(w);
        }
    }
    return !xml.hasError();
}
