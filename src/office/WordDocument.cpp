#include "office/WordDocument.h"

#include "platform/Jpeg.h"

#include <QStringList>

#include <pugixml.hpp>

#include <sstream>

namespace {

const char* const kDocumentPart = "word/document.xml";
const char* const kRelationsPart = "word/_rels/document.xml.rels";
const char* const kTypesPart = "[Content_Types].xml";
const char* const kTemplateType = "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
const char* const kDocumentType = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
const char* const kImageRelation = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

QByteArray toBytes(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    const std::string s = out.str();
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

bool parse(pugi::xml_document& doc, const QByteArray& bytes) {
    return doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size())).status == pugi::status_ok;
}

// Characters XML cannot hold are dropped; tab and line feed stay.
QString xmlSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 || u == '\t' || u == '\n')
            if (u != 0xFFFE && u != 0xFFFF)
                out += c;
    }
    return out;
}

// The size of a JPEG or PNG picture, and its file extension.
bool pictureSize(const QByteArray& bytes, int& width, int& height, QString& extension) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n") && bytes.size() >= 24) {
        auto be = [&](int at) {
            return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
                   (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
        };
        width = be(16);
        height = be(20);
        extension = QStringLiteral("png");
        return width > 0 && height > 0;
    }
    RgbImage image;
    if (bytes.startsWith("\xFF\xD8") && DecodeJpeg(bytes, image)) {
        width = image.width;
        height = image.height;
        extension = QStringLiteral("jpeg");
        return true;
    }
    return false;
}

} // namespace

struct WordDocument::Parts {
    std::vector<ZipEntry> entries;
    pugi::xml_document document;
    pugi::xml_document relations;
    pugi::xml_document types;
    int pictures = 0;

    ZipEntry* entry(const char* name) {
        for (ZipEntry& e : entries)
            if (e.name == QLatin1String(name))
                return &e;
        return nullptr;
    }
    pugi::xml_node firstTable() const {
        return document.child("w:document").child("w:body").child("w:tbl");
    }
    pugi::xml_node cell(int row, int column) const {
        int r = 0;
        for (pugi::xml_node tr = firstTable().child("w:tr"); tr; tr = tr.next_sibling("w:tr"))
            if (++r == row) {
                int c = 0;
                for (pugi::xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc"))
                    if (++c == column)
                        return tc;
                return pugi::xml_node();
            }
        return pugi::xml_node();
    }
};

WordDocument::WordDocument() : m_parts(std::make_unique<Parts>()) {}
WordDocument::~WordDocument() = default;

std::unique_ptr<WordDocument> WordDocument::FromTemplate(const QByteArray& bytes, QString* error) {
    std::unique_ptr<WordDocument> doc(new WordDocument());
    Parts& p = *doc->m_parts;
    QString why;
    if (!ReadZip(bytes, p.entries, &why)) {
        if (error)
            *error = QStringLiteral("不是 Office Open XML 文档（%1）").arg(why);
        return nullptr;
    }
    ZipEntry* main = p.entry(kDocumentPart);
    ZipEntry* types = p.entry(kTypesPart);
    if (!main || !types || !parse(p.document, main->data) || !parse(p.types, types->data) ||
        !p.document.child("w:document").child("w:body")) {
        if (error)
            *error = QStringLiteral("不是 Office Open XML 文档：缺少正文部分");
        return nullptr;
    }
    if (ZipEntry* relations = p.entry(kRelationsPart))
        parse(p.relations, relations->data);
    if (!p.relations.child("Relationships")) {
        pugi::xml_node root = p.relations.append_child("Relationships");
        root.append_attribute("xmlns") = "http://schemas.openxmlformats.org/package/2006/relationships";
    }
    return doc;
}

bool WordDocument::HasTable() const {
    return m_parts->firstTable();
}

bool WordDocument::SetCellText(int row, int column, const QString& text, QString* error) {
    pugi::xml_node tc = m_parts->cell(row, column);
    if (!tc) {
        if (error)
            *error = QStringLiteral("表格中没有第 %1 行第 %2 列的单元格").arg(row).arg(column);
        return false;
    }
    // The look of the cell's first run and paragraph carries over to the new text.
    pugi::xml_document keep;
    pugi::xml_node firstParagraph = tc.child("w:p");
    pugi::xml_node paragraphLook = firstParagraph.child("w:pPr");
    pugi::xml_node runLook = firstParagraph.select_node(".//w:r/w:rPr").node();
    if (!runLook)
        runLook = tc.select_node(".//w:r/w:rPr").node();
    if (paragraphLook)
        keep.append_copy(paragraphLook);
    if (runLook)
        keep.append_copy(runLook);
    while (pugi::xml_node p = tc.child("w:p"))
        tc.remove_child(p);
    pugi::xml_node p = tc.append_child("w:p");
    if (pugi::xml_node look = keep.child("w:pPr"))
        p.append_copy(look);
    pugi::xml_node r = p.append_child("w:r");
    if (pugi::xml_node look = keep.child("w:rPr"))
        r.append_copy(look);
    const QStringList lines = xmlSafe(text).split(QLatin1Char('\n'));
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k > 0)
            r.append_child("w:br");
        pugi::xml_node t = r.append_child("w:t");
        t.append_attribute("xml:space") = "preserve";
        t.text().set(lines[k].toUtf8().constData());
    }
    return true;
}

bool WordDocument::AddPicture(int row, int column, const QByteArray& image, QString* error) {
    Parts& p = *m_parts;
    pugi::xml_node tc = p.cell(row, column);
    if (!tc) {
        if (error)
            *error = QStringLiteral("表格中没有第 %1 行第 %2 列的单元格").arg(row).arg(column);
        return false;
    }
    int width = 0, height = 0;
    QString extension;
    if (!pictureSize(image, width, height, extension)) {
        if (error)
            *error = QStringLiteral("照片不是可以插入的图片（只能插入 JPEG 或 PNG）");
        return false;
    }
    // As wide as the cell (its width in twentieths of a point; 1 twip = 635 EMU).
    const long long cellTwips = tc.child("w:tcPr").child("w:tcW").attribute("w:w").as_llong(1440);
    const long long cx = std::max<long long>(1, cellTwips * 635 - 2 * 635 * 108);
    const long long cy = std::max<long long>(1, cx * height / width);
    const int number = ++p.pictures;
    const QString target = QStringLiteral("media/vrin_photo%1.%2").arg(number).arg(extension);
    QString id;
    for (int k = 1;; ++k) {
        id = QStringLiteral("rIdVrin%1").arg(k);
        if (!p.relations.child("Relationships").find_child_by_attribute("Relationship", "Id", id.toUtf8().constData()))
            break;
    }
    pugi::xml_node rel = p.relations.child("Relationships").append_child("Relationship");
    rel.append_attribute("Id") = id.toUtf8().constData();
    rel.append_attribute("Type") = kImageRelation;
    rel.append_attribute("Target") = target.toUtf8().constData();
    pugi::xml_node types = p.types.child("Types");
    if (!types.find_child_by_attribute("Default", "Extension", extension.toUtf8().constData())) {
        pugi::xml_node d = types.prepend_child("Default");
        d.append_attribute("Extension") = extension.toUtf8().constData();
        d.append_attribute("ContentType") = extension == QLatin1String("png") ? "image/png" : "image/jpeg";
    }
    p.entries.push_back({QStringLiteral("word/") + target, image});

    const QString drawing = QStringLiteral(
        "<w:r xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\">"
        "<wp:extent cx=\"%1\" cy=\"%2\"/><wp:docPr id=\"%3\" name=\"照片 %3\"/>"
        "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
        "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:nvPicPr><pic:cNvPr id=\"%3\" name=\"照片 %3\"/><pic:cNvPicPr/></pic:nvPicPr>"
        "<pic:blipFill><a:blip r:embed=\"%4\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"/>"
        "<a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
        "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%1\" cy=\"%2\"/></a:xfrm>"
        "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>")
                                 .arg(cx)
                                 .arg(cy)
                                 .arg(9000 + number)
                                 .arg(id);
    pugi::xml_document run;
    const QByteArray xml = drawing.toUtf8();
    run.load_buffer(xml.constData(), static_cast<size_t>(xml.size()));
    pugi::xml_node paragraph = tc.child("w:p");
    if (!paragraph)
        paragraph = tc.append_child("w:p");
    pugi::xml_node added = paragraph.append_copy(run.first_child());
    // The namespaces are declared on the document's root already.
    added.remove_attribute("xmlns:w");
    return true;
}

QByteArray WordDocument::Save(QString* error) const {
    const Parts& p = *m_parts;
    std::vector<ZipEntry> entries = p.entries;
    pugi::xml_document types;
    types.reset(p.types);
    // A new document, not a template: the main part is typed as a document.
    for (pugi::xml_node o = types.child("Types").child("Override"); o; o = o.next_sibling("Override"))
        if (QString::fromUtf8(o.attribute("PartName").value()) == QLatin1String("/word/document.xml"))
            o.attribute("ContentType").set_value(kDocumentType);
    bool hasRelations = false;
    for (ZipEntry& e : entries) {
        if (e.name == QLatin1String(kDocumentPart))
            e.data = toBytes(p.document);
        else if (e.name == QLatin1String(kTypesPart))
            e.data = toBytes(types);
        else if (e.name == QLatin1String(kRelationsPart)) {
            e.data = toBytes(p.relations);
            hasRelations = true;
        }
    }
    if (!hasRelations && p.pictures > 0)
        entries.push_back({QString::fromLatin1(kRelationsPart), toBytes(p.relations)});
    (void)kTemplateType;
    return WriteZip(entries, error);
}
