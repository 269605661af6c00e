#include "office/PersonSheetTemplate.h"
#include "office/WordDocument.h"
#include "office/ZipArchive.h"
#include "platform/Jpeg.h"

#include "TestSupport.h"

#include <QProcess>
#include <QStandardPaths>

#include <pugixml.hpp>

namespace {

QByteArray part(const QByteArray& docx, const char* name) {
    std::vector<ZipEntry> entries;
    EXPECT_TRUE(ReadZip(docx, entries, nullptr));
    for (const ZipEntry& e : entries)
        if (e.name == QLatin1String(name))
            return e.data;
    return QByteArray();
}

// The text of cell (row, column) of table 1, counting each row's w:tc, lines joined by \n.
QString cellText(const QByteArray& docx, int row, int column) {
    const QByteArray xml = part(docx, "word/document.xml");
    pugi::xml_document doc;
    doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()));
    pugi::xml_node tr = doc.child("w:document").child("w:body").child("w:tbl").child("w:tr");
    for (int r = 1; r < row && tr; ++r)
        tr = tr.next_sibling("w:tr");
    pugi::xml_node tc = tr.child("w:tc");
    for (int c = 1; c < column && tc; ++c)
        tc = tc.next_sibling("w:tc");
    QString text;
    pugi::xpath_node_set nodes = tc.select_nodes(".//w:t | .//w:br");
    nodes.sort(); // document order
    for (pugi::xpath_node n : nodes)
        text += QString::fromUtf8(n.node().name()) == QLatin1String("w:br") ? QStringLiteral("\n")
                                                                           : QString::fromUtf8(n.node().text().get());
    return text;
}

QByteArray jpeg(int w, int h) {
    RgbImage image;
    image.width = w;
    image.height = h;
    image.pixels.assign(static_cast<size_t>(w) * h * 3, 200);
    return EncodeJpeg(image, 85);
}

} // namespace

TEST(WordDocument, TheSheetFromTheTemplate) {
    QString error;
    auto doc = WordDocument::FromTemplate(PersonSheetTemplate(), &error);
    ASSERT_TRUE(doc) << error.toStdString();
    ASSERT_TRUE(doc->HasTable());
    EXPECT_EQ(cellText(PersonSheetTemplate(), 1, 1), QStringLiteral("姓    名"));
    ASSERT_TRUE(doc->SetCellText(1, 2, QStringLiteral("张三"), &error));
    ASSERT_TRUE(doc->SetCellText(1, 6, QStringLiteral(".."), &error));
    ASSERT_TRUE(doc->SetCellText(14, 2, QStringLiteral("1990 入学\n2000 & <毕业>\x01"), &error));
    ASSERT_TRUE(doc->SetCellText(7, 4, QStringLiteral("已婚"), &error));
    ASSERT_TRUE(doc->AddPicture(1, 7, jpeg(300, 400), &error)) << error.toStdString();
    const QByteArray docx = doc->Save(&error);
    ASSERT_FALSE(docx.isEmpty()) << error.toStdString();

    EXPECT_EQ(cellText(docx, 1, 2), QStringLiteral("张三"));
    EXPECT_EQ(cellText(docx, 1, 1), QStringLiteral("姓    名")) << "labels stay";
    EXPECT_EQ(cellText(docx, 1, 6), QStringLiteral(".."));
    EXPECT_EQ(cellText(docx, 7, 4), QStringLiteral("已婚")) << "a merged cell counts once";
    EXPECT_EQ(cellText(docx, 14, 2), QStringLiteral("1990 入学\n2000 & <毕业>")) << "escaped, the control character dropped";
    const QByteArray types = part(docx, "[Content_Types].xml");
    EXPECT_TRUE(types.contains("wordprocessingml.document.main+xml"));
    EXPECT_FALSE(types.contains("template.main+xml")) << "a document, not a template";
    EXPECT_TRUE(types.contains("Extension=\"jpeg\""));
    EXPECT_TRUE(part(docx, "word/_rels/document.xml.rels").contains("media/vrin_photo1.jpeg"));
    EXPECT_EQ(part(docx, "word/media/vrin_photo1.jpeg"), jpeg(300, 400));
    EXPECT_TRUE(part(docx, "word/document.xml").contains("wp:inline"));
    EXPECT_FALSE(part(docx, "_rels/.rels").isEmpty()) << "every part of the template is kept";
}

TEST(WordDocument, BadTemplatesAndCellsSayWhy) {
    QString error;
    EXPECT_FALSE(WordDocument::FromTemplate(QByteArray("\xD0\xCF\x11\xE0 a binary document"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(WordDocument::FromTemplate(PersonSheetTemplate().left(300), &error)) << "cut short";
    auto doc = WordDocument::FromTemplate(PersonSheetTemplate(), &error);
    ASSERT_TRUE(doc);
    EXPECT_FALSE(doc->SetCellText(15, 2, QStringLiteral("x"), &error));
    EXPECT_EQ(error, QStringLiteral("表格中没有第 15 行第 2 列的单元格"));
    EXPECT_FALSE(doc->AddPicture(1, 7, QByteArray("no picture"), &error));
}

// The person sheet as LibreOffice lays it out: every label and a birth date each on one
// line (a wrapped one reads as two words).
TEST(WordDocument, LabelsAndTheBirthDateFitTheirCellsInLibreOffice) {
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty() || !PdfToTextInstalled())
        GTEST_SKIP() << "LibreOffice or pdftotext is not installed";
    QString error;
    auto doc = WordDocument::FromTemplate(PersonSheetTemplate(), &error);
    ASSERT_TRUE(doc) << error.toStdString();
    ASSERT_TRUE(doc->SetCellText(1, 2, QStringLiteral("欧阳建国"), &error));
    ASSERT_TRUE(doc->SetCellText(1, 6, QStringLiteral("1980.05.03"), &error));
    ASSERT_TRUE(doc->SetCellText(3, 4, QStringLiteral("中共党员"), &error));
    TestDir dir;
    dir.Write(QStringLiteral("sheet.docx"), doc->Save(&error));
    QProcess convert;
    convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + dir.Path(QStringLiteral("profile")),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                           QStringLiteral("--outdir"), dir.Folder(), dir.Path(QStringLiteral("sheet.docx"))});
    ASSERT_TRUE(convert.waitForFinished(120000));
    std::vector<PdfWord> words;
    ASSERT_TRUE(ReadPdfWords(dir.Path(QStringLiteral("sheet.pdf")), words)) << convert.readAllStandardError().toStdString();
    QStringList texts;
    for (const PdfWord& w : words)
        texts << w.text;
    for (const char* whole : {"户口簿编号", "政治面貌", "何时迁来本市", "何地迁来本市", "何时迁来本址", "何地迁来本址",
                              "出生年月", "文化程度", "身份证号", "婚姻状况", "户口性质", "家庭住址", "服务处所",
                              "1980.05.03", "欧阳建国", "中共党员"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(whole))) << whole << " in " << texts.join(QLatin1Char(' ')).toStdString();
}
