#include "office/PersonSheetTemplate.h"

#include "office/ZipArchive.h"

#include <QString>
#include <QStringList>

namespace {

// Twips per grid column, 9 600 of the 9 638 between the margins: the labels of the first
// column (up to 6 characters), of the third and fifth (4) and the birth date in the sixth
// ("1980.05.03") each fit one line at 10.5 points with the cells' margins; the photo last.
const int kGrid[] = {1650, 1350, 1150, 1150, 1150, 1550, 1600};

struct Cell {
    QString text;     // a label, or "" for a value cell
    int span = 1;     // grid columns
    int merge = 0;    // 1 starts a vertical merge, 2 continues one
    bool bold = false;
};

int widthOf(int firstColumn, int span) {
    int w = 0;
    for (int k = firstColumn; k < firstColumn + span && k < 7; ++k)
        w += kGrid[k];
    return w;
}

QString cellXml(const Cell& c, int firstColumn) {
    QString props = QStringLiteral("<w:tcW w:w=\"%1\" w:type=\"dxa\"/>").arg(widthOf(firstColumn, c.span));
    if (c.span > 1)
        props += QStringLiteral("<w:gridSpan w:val=\"%1\"/>").arg(c.span);
    if (c.merge == 1)
        props += QStringLiteral("<w:vMerge w:val=\"restart\"/>");
    else if (c.merge == 2)
        props += QStringLiteral("<w:vMerge/>");
    props += QStringLiteral("<w:vAlign w:val=\"center\"/>");
    const QString look = QStringLiteral("<w:rPr><w:rFonts w:ascii=\"SimSun\" w:eastAsia=\"宋体\" w:hAnsi=\"SimSun\"/>%1"
                                        "<w:sz w:val=\"21\"/></w:rPr>")
                             .arg(c.bold ? QStringLiteral("<w:b/>") : QString());
    QString paragraph = QStringLiteral("<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>");
    paragraph += QStringLiteral("<w:r>") + look + QStringLiteral("<w:t xml:space=\"preserve\">") + c.text +
                 QStringLiteral("</w:t></w:r></w:p>");
    return QStringLiteral("<w:tc><w:tcPr>") + props + QStringLiteral("</w:tcPr>") + paragraph + QStringLiteral("</w:tc>");
}

QString rowXml(const std::vector<Cell>& cells) {
    QString xml = QStringLiteral("<w:tr><w:trPr><w:trHeight w:val=\"560\"/></w:trPr>");
    int column = 0;
    for (const Cell& c : cells) {
        xml += cellXml(c, column);
        column += c.span;
    }
    return xml + QStringLiteral("</w:tr>");
}

QString documentXml() {
    const Cell v{};                           // a value cell
    const Cell photo{QString(), 1, 1};        // the photo cell, rows 1 to 5
    const Cell photoBelow{QString(), 1, 2};
    auto label = [](const char* text) { return Cell{QString::fromUtf8(text)}; };
    auto wide = [](int span) { return Cell{QString(), span}; };
    const std::vector<std::vector<Cell>> rows = {
        {label("姓    名"), v, label("性别"), v, label("出生年月"), v, photo},
        {label("籍    贯"), v, label("民族"), v, label("文化程度"), v, photoBelow},
        {label("出 生 地"), v, label("政治面貌"), wide(3), photoBelow},
        {label("家庭住址"), wide(5), photoBelow},
        {label("服务处所"), wide(5), photoBelow},
        {Cell{QStringLiteral("户 籍 情 况"), 7, 0, true}},
        {label("身份证号"), wide(3), label("婚姻状况"), wide(2)},
        {label("户口簿编号"), wide(6)},
        {label("户口性质"), wide(6)},
        {label("何时迁来本市"), wide(6)},
        {label("何地迁来本市"), wide(6)},
        {label("何时迁来本址"), wide(6)},
        {label("何地迁来本址"), wide(6)},
        {label("简    历"), wide(6)},
    };
    QString grid = QStringLiteral("<w:tblGrid>");
    for (int w : kGrid)
        grid += QStringLiteral("<w:gridCol w:w=\"%1\"/>").arg(w);
    grid += QStringLiteral("</w:tblGrid>");
    QString table = QStringLiteral(
                        "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:jc w:val=\"center\"/>"
                        "<w:tblBorders><w:top w:val=\"single\" w:sz=\"8\"/><w:left w:val=\"single\" w:sz=\"8\"/>"
                        "<w:bottom w:val=\"single\" w:sz=\"8\"/><w:right w:val=\"single\" w:sz=\"8\"/>"
                        "<w:insideH w:val=\"single\" w:sz=\"4\"/><w:insideV w:val=\"single\" w:sz=\"4\"/>"
                        "</w:tblBorders><w:tblLayout w:type=\"fixed\"/></w:tblPr>") +
                    grid;
    for (const auto& row : rows)
        table += rowXml(row);
    table += QStringLiteral("</w:tbl>");
    const QString title = QStringLiteral(
        "<w:p><w:pPr><w:jc w:val=\"center\"/><w:spacing w:after=\"240\"/></w:pPr><w:r><w:rPr>"
        "<w:rFonts w:ascii=\"SimHei\" w:eastAsia=\"黑体\" w:hAnsi=\"SimHei\"/><w:b/><w:sz w:val=\"36\"/>"
        "</w:rPr><w:t>人员情况表</w:t></w:r></w:p>");
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
               "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
               "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
               "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
               "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>") +
           title + table +
           QStringLiteral("<w:p/><w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
                          "<w:pgMar w:top=\"1134\" w:right=\"1134\" w:bottom=\"1134\" w:left=\"1134\" "
                          "w:header=\"567\" w:footer=\"567\" w:gutter=\"0\"/></w:sectPr></w:body></w:document>");
}

} // namespace

QByteArray PersonSheetTemplate() {
    std::vector<ZipEntry> entries = {
        {QStringLiteral("[Content_Types].xml"),
         QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                    "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                    "vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml\"/>"
                    "</Types>")},
        {QStringLiteral("_rels/.rels"),
         QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                    "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>")},
        {QStringLiteral("word/_rels/document.xml.rels"),
         QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>")},
        {QStringLiteral("word/document.xml"), documentXml().toUtf8()},
    };
    return WriteZip(entries, nullptr);
}
