#pragma once
// The word processor as the person sheet uses it: a new document from an Office Open XML
// template, the cells of its first table by row and column as the word processor counts
// them (a row's cells in order, a merged cell once), a cell's text, an in-line picture in a
// cell, and the document's bytes (.docx).

#include "office/ZipArchive.h"

#include <QByteArray>
#include <QString>

#include <memory>

class WordDocument {
public:
    ~WordDocument();
    // The document of a template's bytes; null (with the reason) when they are no Office
    // Open XML document with a main part.
    static std::unique_ptr<WordDocument> FromTemplate(const QByteArray& bytes, QString* error);

    bool HasTable() const;
    // Replaces the text of cell (row, column) of table 1, keeping its first run's look; a
    // line break in the text is one in the cell. FALSE (with the reason) when there is no
    // such cell.
    bool SetCellText(int row, int column, const QString& text, QString* error);
    // Puts a picture (JPEG or PNG bytes) in-line into the cell, as wide as the cell, its
    // proportions kept.
    bool AddPicture(int row, int column, const QByteArray& image, QString* error);

    // The .docx: every part and relationship of the template, the main part a document.
    QByteArray Save(QString* error) const;

private:
    WordDocument();
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
