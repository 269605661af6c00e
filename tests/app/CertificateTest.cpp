#include "AppFixture.h"

#include "RecordingDC.h"
#include "ResidentDatabase.h"
#include "app/archive/Certificate.h"
#include "app/archive/DlgGJRY.h"
#include "app/users/Rights.h"
#include "grid/AdoGridCtrl.h"
#include "records/ResidentCatalogue.h"
#include "widgets/DeviceContext.h"
#include "widgets/PrintService.h"

#include <QPrinter>

namespace {

QString at(const RecordingDC& dc, int x, int y) {
    for (const RecordingDC::Text& t : dc.texts)
        if (t.x == x && t.y == y)
            return t.text;
    return QStringLiteral("<none>");
}

} // namespace

TEST(Certificate, TheLayoutOfBothHalves) {
    RecordingDC dc(true, 600, 50, 100);
    CertificateValues v{QStringLiteral("张三"), QStringLiteral("男"), QString(), QStringLiteral("农业家庭户口"),
                        QStringLiteral("汉族"), QStringLiteral("1980-05-03 00:00:00"),
                        QStringLiteral("110105198005030011"), QStringLiteral("红星村一组")};
    QImage photo(30, 40, QImage::Format_RGB32);
    DrawCertificate(dc, v, &photo, QStringLiteral("红星村村民委员会"), QDate(2026, 12, 10));
    EXPECT_EQ(at(dc, 2800, 480), QStringLiteral("户籍证明"));
    const FaceProportions title(dc.texts[0].font);
    EXPECT_NEAR((title.ascent + title.descent) * dc.texts[0].font.pixelSize(), 200, 1.5)
        << "a font's height is its cell: ascent and descent";
    EXPECT_EQ(at(dc, 300, 550), QStringLiteral("   存根           第(    )号"));
    struct Line {
        int y;
        const char* text;
    };
    for (const Line& l : {Line{800, "姓名:张三"}, Line{950, "性别:男"}, Line{1100, "曾用名:"},
                          Line{1250, "户口性质:农业家庭户口"}, Line{1400, "民族:汉族"},
                          Line{1550, "出生日期:1980-05-03"}, Line{1950, "住址:红星村一组"},
                          Line{2100, "户籍所在地:红星村一组"}, Line{2250, "            为我村管辖居民"},
                          Line{2400, "                特此证明"}, Line{2700, "红星村村民委员会"},
                          Line{3300, "           2026年12月10日"}}) {
        EXPECT_EQ(at(dc, 300, l.y), QString::fromUtf8(l.text)) << l.y;
        EXPECT_EQ(at(dc, 1900, l.y), QString::fromUtf8(l.text)) << l.y;
    }
    ASSERT_EQ(dc.images.size(), 1);
    EXPECT_EQ(dc.images[0].target, QRect(3000, 800, 800, 1000));
    EXPECT_EQ(dc.lines, (QList<QLine>{QLine(300, 650, 4300, 650), QLine(300, 3400, 4300, 3400),
                                      QLine(1850, 650, 1850, 3400)}));
    for (const RecordingDC::Text& t : dc.texts)
        EXPECT_EQ(t.font.stretch(), 0) << "short lines keep their font: " << t.y;
}

// A line too wide for its half is narrowed to end at the half's border.
TEST(Certificate, LongLinesAreNarrowed) {
    RecordingDC dc(true, 600, 50, 100);
    CertificateValues v;
    v.address = QString(30, QChar(0x6751));
    DrawCertificate(dc, v, nullptr, QString(), QDate(2026, 1, 2));
    for (const RecordingDC::Text& t : dc.texts) {
        if (t.y != 2100)
            continue;
        const int width = static_cast<int>(t.text.size()) * 50; // 36 characters
        EXPECT_EQ(t.font.stretch(), t.x == 300 ? (1850 - 300) * 100 / width : 0) << t.x;
    }
}

TEST(Certificate, NoPhotoAndNoTitle) {
    RecordingDC dc(true, 600, 10, 100);
    DrawCertificate(dc, CertificateValues{}, nullptr, QString(), QDate(2026, 1, 2));
    EXPECT_TRUE(dc.images.isEmpty());
    EXPECT_EQ(at(dc, 300, 2700), QString()) << "an empty title leaves its line blank";
    EXPECT_EQ(at(dc, 300, 3300), QStringLiteral("           2026年01月02日"));
}

namespace {

// The print dialog of the tests: a PDF file, or Cancel.
class ScriptedPrinter : public PrintDialogService {
public:
    ScriptedPrinter() : m_previous(SetPrintDialogService(this)) {}
    ~ScriptedPrinter() override { SetPrintDialogService(m_previous); }
    bool ChoosePrinter(QWidget*, QPrinter& printer) override {
        ++asked;
        if (files.empty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(files.front());
        files.erase(files.begin());
        return true;
    }
    std::vector<QString> files;
    int asked = 0;

private:
    PrintDialogService* m_previous;
};

} // namespace

class CertificatePrintTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        OpenDemoArchive(m_app, 40, 3);
    }
    void Run(std::function<void(CDlgGJRY&)> action) {
        CDlgGJRY window;
        window.m_strCommunityTitle = QStringLiteral("红星村");
        RunArchive(window, action);
    }
    CVRINApp m_app;
    ScriptedPrinter m_printer;
};

// Each certificate into a PDF file of its own (a file is never kept as the printer); Cancel
// prints nothing; a file that cannot be written is reported.
TEST_F(CertificatePrintTest, IntoPdfFiles) {
    m_printer.files = {m_appDir.Path(QStringLiteral("a.pdf")), m_appDir.Path(QStringLiteral("b.pdf")),
                       m_appDir.Path(QStringLiteral("missing/c.pdf"))};
    m_boxes.Expect(QStringLiteral("请选中一个人！")).Answer(IDOK);
    Run([&](CDlgGJRY& w) {
        w.OnPrintCertificate();
        w.m_nSelectedRow = 0;
        w.OnPrintCertificate();
        w.m_nSelectedRow = 1;
        w.OnPrintCertificate();
        EXPECT_EQ(m_printer.asked, 2) << "a file printer is not kept";
        w.OnPrintCertificate(); // the missing folder
        EXPECT_FALSE(m_app.m_pPrinter);
        w.OnPrintCertificate(); // cancelled
        EXPECT_EQ(m_printer.asked, 4);
    });
    EXPECT_TRUE(m_appDir.Read(QStringLiteral("a.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(m_appDir.Read(QStringLiteral("b.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(m_boxes.Boxes().back().text.startsWith(QStringLiteral("户籍证明没有打印出来")));
}

// The certificate as a PDF reader sees it: every text at its place in printer dots (the top
// of its cell, within 0.5 of a dot), the title's cell ending by 680, and the characters
// printed are the characters a search finds.
TEST_F(CertificatePrintTest, ThePdfPutsEveryTextInPlaceAndReadsAsPrinted) {
    if (!PdfToTextInstalled())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString pdf = m_appDir.Path(QStringLiteral("certificate.pdf"));
    m_printer.files = {pdf};
    Run([&](CDlgGJRY& w) {
        w.m_nSelectedRow = 0;
        w.OnPrintCertificate();
    });
    std::vector<PdfWord> words;
    ASSERT_TRUE(ReadPdfWords(pdf, words));
    // Where the printable area begins on the page, in dots, as the printer puts it.
    QPrinter same(QPrinter::HighResolution);
    same.setResolution(600);
    same.setOutputFormat(QPrinter::PdfFormat);
    const QPoint origin = same.pageLayout().paintRectPixels(600).topLeft();
    auto dots = [](double points) { return points * 600.0 / 72.0; };
    auto find = [&](const QString& text) {
        for (const PdfWord& word : words)
            if (word.text == text)
                return word;
        ADD_FAILURE() << "no word " << text.toStdString();
        return PdfWord{};
    };
    const PdfWord title = find(QStringLiteral("户籍证明"));
    EXPECT_NEAR(dots(title.xMin) - origin.x(), 2800, 0.5);
    EXPECT_NEAR(dots(title.yMin) - origin.y(), 480, 0.5);
    EXPECT_LE(dots(title.yMax) - origin.y(), 680.5) << "the cell of a height-200 font";
    struct Place {
        const char* text;
        int x, y; // x -1: after leading blanks
    };
    for (const Place& p : {Place{"存根", -1, 550}, Place{"为我村管辖居民", -1, 2250}, Place{"特此证明", -1, 2400},
                           Place{"红星村", 300, 2700}}) {
        const PdfWord word = find(QString::fromUtf8(p.text));
        EXPECT_NEAR(dots(word.yMin) - origin.y(), p.y, 0.5) << p.text;
        if (p.x >= 0) {
            EXPECT_NEAR(dots(word.xMin) - origin.x(), p.x, 0.5) << p.text;
        }
    }
}
