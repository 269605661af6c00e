#pragma once

#include <vector>
// Helpers shared by the tests: temporary folders, files, and a message-box responder that
// turns its complaints into test failures.

#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedResponder.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Lets gtest print QStrings in its messages.
void PrintTo(const QString& text, std::ostream* os);

class TestResponder : public ScriptedResponder {
public:
    TestResponder()
        : ScriptedResponder([](const QString& why) { ADD_FAILURE() << why.toStdString(); }) {}
};

class TestFileDialogs : public ScriptedFileDialogs {
public:
    TestFileDialogs()
        : ScriptedFileDialogs([](const QString& why) { ADD_FAILURE() << why.toStdString(); }) {}
};

// A temporary folder removed at the end of the test.
class TestDir {
public:
    TestDir();
    // Path of a file in the folder.
    QString Path(const QString& name) const;
    // The folder with a trailing slash, the way the program keeps folders.
    QString Folder() const;
    void Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;
    bool Exists(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

// The words of a PDF as poppler's pdftotext -bbox finds them, with their boxes in points
// from the page's top-left. FALSE when pdftotext is not installed or cannot read the file.
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int page = 0;
};
bool ReadPdfWords(const QString& path, std::vector<PdfWord>& words);
bool PdfToTextInstalled();
