#include "AppFixture.h"

#include "ado/AdoRecordSet.h"
#include "app/detail/DlgRYXXQK.h"
#include "app/detail/ResidentPhoto.h"
#include "app/users/Rights.h"
#include "office/PersonSheetTemplate.h"
#include "office/ZipArchive.h"
#include "platform/Clock.h"
#include "platform/Jpeg.h"
#include "platform/Paths.h"
#include "platform/RecordingShell.h"
#include "records/ResidentCatalogue.h"
#include "widgets/ScrollingForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QKeyEvent>
#include <QTest>
#include <QTreeWidget>

class DetailFormTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        SetCurrentYear(2026);
        ConnectApp(m_app);
        m_db = m_appDir.Path(kDatabaseFileName);
        ASSERT_TRUE(m_app.m_adoConnection.OpenJetDatabase(m_db));
        const char* rows[] = {
            "'张三','男',#1980-1-5#,'H''1','一组',#2001-3-4#,#2001-3-4#,'迁出'",
            "'李四','女',NULL,'H''1','一组',NULL,NULL,'未注销'",
            "'张三','男',#1990-2-2#,'H''1','一组',NULL,NULL,''",
            "'王五','男',#1975-7-7#,'H2','二组',NULL,NULL,NULL",
        };
        for (const char* r : rows)
            ExecOn(m_db, QStringLiteral("INSERT INTO 基本情况表 (姓名,性别,出生日期,户口簿编号,工作单位,"
                                        "何时迁来本县,死亡日期,注销) VALUES (") +
                             QString::fromUtf8(r) + QLatin1Char(')'));
        g_nUserRight = 99;
    }
    void TearDown() override {
        SetCurrentYear(0);
        AppTest::TearDown();
    }
    // The list's recordset on resident key, as the archive window hands it over.
    void OpenOn(int key) {
        m_rs.SetAdoConnection(&m_app.m_adoConnection);
        ASSERT_TRUE(m_rs.Open(QStringLiteral("SELECT * FROM 基本情况表")));
        ASSERT_TRUE(m_rs.Find(QStringLiteral("编号=%1").arg(key)));
    }
    // Runs the form in a mode with one action.
    int Run(int mode, ModalDriver::Action action) {
        CDlgRYXXQK form;
        form.m_nMode = mode;
        form.m_pRecordSet = mode == CDlgRYXXQK::Query ? nullptr : &m_rs;
        m_dialogs.Then(std::move(action));
        return form.DoModal();
    }
    QString Stored(int key, const char* field) {
        return ValueOn(m_db, QStringLiteral("SELECT %1 FROM 基本情况表 WHERE 编号=%2")
                                 .arg(QString::fromUtf8(field))
                                 .arg(key));
    }
    static QString text(QDialog& d, int id) {
        QWidget* w = Control(d, id);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e->text();
        if (auto* b = qobject_cast<QComboBox*>(w))
            return b->currentText();
        return qobject_cast<QPlainTextEdit*>(w)->toPlainText();
    }
    static void set(QDialog& d, int id, const QString& value) {
        QWidget* w = Control(d, id);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(value);
        else if (auto* b = qobject_cast<QComboBox*>(w))
            b->setCurrentText(value);
        else
            qobject_cast<QPlainTextEdit*>(w)->setPlainText(value);
    }
    // A JPEG of the given size in the application directory.
    QString Jpeg(const QString& name, int w, int h) {
        RgbImage image;
        image.width = w;
        image.height = h;
        image.pixels.assign(static_cast<size_t>(w) * h * 3, 128);
        for (size_t k = 0; k < image.pixels.size(); k += 7)
            image.pixels[k] = static_cast<unsigned char>(k % 251);
        m_appDir.Write(name, EncodeJpeg(image, 90));
        return m_appDir.Path(name);
    }
    QByteArray StoredPhoto(int key) {
        CAdoRecordSet rs;
        rs.SetAdoConnection(&m_app.m_adoConnection);
        rs.Open(QStringLiteral("SELECT * FROM 基本情况表 WHERE 编号=%1").arg(key));
        adodb::Variant v = rs.GetCollectValue(rs.GetRecordset()->FindField(QStringLiteral("照片")));
        return v.IsByteArray() ? v.Bytes() : QByteArray();
    }

    CVRINApp m_app;
    QString m_db;
    CAdoRecordSet m_rs;
    TestFileDialogs m_files;
};

// What shows in each mode for each right.
TEST_F(DetailFormTest, ControlsByModeAndRight) {
    struct Case {
        int mode, right;
        const char* shown; // save, photo, previous, next, continuous: 1 visible
    };
    for (const Case& c : {Case{0, 99, "11111"}, Case{0, 4, "00111"}, Case{1, 2, "11001"},
                          Case{1, 0, "00001"}, Case{2, 4, "10000"}}) {
        g_nUserRight = c.right;
        if (c.mode != CDlgRYXXQK::Query)
            OpenOn(1);
        Run(c.mode, [&](QDialog& d) {
            QString shown;
            for (int id : {1, 1014, 1016, 1017, 1038})
                shown += Control(d, id)->isVisibleTo(&d) ? QLatin1Char('1') : QLatin1Char('0');
            EXPECT_EQ(shown, QString::fromLatin1(c.shown)) << c.mode << "/" << c.right;
            EXPECT_EQ(Control(d, 1025)->isEnabled(), c.mode != CDlgRYXXQK::Query);
            EXPECT_EQ(Control(d, 1018)->isEnabled(), c.mode != CDlgRYXXQK::Query);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("人员详细情况"));
            Click(Control(d, IDCANCEL));
        });
        m_rs.Close();
    }
}

TEST_F(DetailFormTest, TheQueryFormConfirmsForEveryOperator) {
    g_nUserRight = 4;
    CDlgRYXXQK form;
    form.m_nMode = CDlgRYXXQK::Query;
    m_boxes.Expect(QStringLiteral("请键入一个整数。"));
    m_dialogs.Then([&](QDialog& d) {
        set(d, 1002, QStringLiteral("张三"));
        set(d, 1060, QStringLiteral("3x"));
        Click(Control(d, IDOK));
        EXPECT_TRUE(d.isVisible()) << "a family size that is no integer keeps the form open";
        EXPECT_EQ(QApplication::focusWidget(), Control(d, 1060));
        set(d, 1060, QStringLiteral("3"));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(form.DoModal(), IDOK);
    EXPECT_EQ(form.Value(QStringLiteral("姓名")), QStringLiteral("张三"));
    EXPECT_EQ(form.m_nFamilySize, 3);
}

TEST_F(DetailFormTest, DatesShowAndSaveBack) {
    OpenOn(1);
    Run(0, [&](QDialog& d) {
        EXPECT_EQ(text(d, 1018) + text(d, 1037) + text(d, 1039), QStringLiteral("19800105"));
        EXPECT_EQ(text(d, 1025), QStringLiteral("2001-03-04")) << "a migration date is cut";
        EXPECT_EQ(text(d, 1030), QStringLiteral("2001-03-04 00:00:00")) << "the death date is whole";
        EXPECT_EQ(text(d, 1026), QString()) << "the empty date shows empty";
        Click(Control(d, 1017)); // save, then the next resident: no birth date
        EXPECT_EQ(text(d, 1002), QStringLiteral("李四"));
        EXPECT_EQ(text(d, 1018) + text(d, 1037) + text(d, 1039), QString());
        set(d, 1018, QStringLiteral("1980"));
        set(d, 1037, QStringLiteral("1"));
        set(d, 1039, QStringLiteral("5"));
        Click(Control(d, IDOK));
        Click(Control(d, IDCANCEL));
    });
    EXPECT_EQ(Stored(1, "出生日期"), QStringLiteral("1980-01-05"));
    EXPECT_EQ(Stored(2, "出生日期"), QStringLiteral("1980-01-05")) << "1980-1-5 from the lists";
}

TEST_F(DetailFormTest, TheHouseholdListsTheOthersByKey) {
    OpenOn(1);
    Run(0, [&](QDialog& d) {
        auto* family = qobject_cast<QTreeWidget*>(Control(d, 1070));
        ASSERT_EQ(family->topLevelItemCount(), 2) << "the namesake is another member";
        EXPECT_EQ(family->topLevelItem(0)->text(0), QStringLiteral("1"));
        EXPECT_EQ(family->topLevelItem(0)->text(2), QStringLiteral("李四"));
        EXPECT_EQ(family->topLevelItem(1)->text(2), QStringLiteral("张三"));
        EXPECT_EQ(family->headerItem()->text(1), QStringLiteral("和户主关系"));
        Click(Control(d, IDCANCEL));
    });
}

// Steps stop at the ends: the last resident stays, its button goes grey, and an edit is
// still saved there.
TEST_F(DetailFormTest, NextOnTheLastResidentStaysAndSaves) {
    OpenOn(3);
    Run(0, [&](QDialog& d) {
        Click(Control(d, 1017));
        EXPECT_EQ(text(d, 1002), QStringLiteral("王五"));
        EXPECT_FALSE(Control(d, 1017)->isEnabled());
        Click(Control(d, 1017));
        set(d, 1007, QStringLiteral("木匠"));
        Click(Control(d, IDOK));
        EXPECT_EQ(text(d, 1002), QStringLiteral("王五"));
        Click(Control(d, 1016));
        EXPECT_EQ(text(d, 1002), QStringLiteral("张三"));
        Click(Control(d, IDCANCEL));
    });
    EXPECT_EQ(Stored(4, "职业"), QStringLiteral("木匠"));
}

TEST_F(DetailFormTest, ContinuousAddingFilesEachUnderTheUnit) {
    m_rs.SetAdoConnection(&m_app.m_adoConnection);
    ASSERT_TRUE(m_rs.Open(QStringLiteral("SELECT * FROM 基本情况表")));
    m_rs.AddNew();
    m_rs.PutCollect(QStringLiteral("工作单位"), adodb::Variant(QStringLiteral("三组")));
    Run(1, [&](QDialog& d) {
        EXPECT_EQ(text(d, 1001), QStringLiteral("三组"));
        qobject_cast<QAbstractButton*>(Control(d, 1038))->setChecked(true);
        set(d, 1002, QStringLiteral("新一"));
        Click(Control(d, IDOK));
        EXPECT_EQ(text(d, 1002), QString()) << "an empty form for the next one";
        EXPECT_EQ(text(d, 1001), QStringLiteral("三组"));
        EXPECT_EQ(QApplication::focusWidget(), Control(d, 1002));
        set(d, 1002, QStringLiteral("新二"));
        Click(Control(d, IDOK));
        Click(Control(d, IDCANCEL));
    });
    m_rs.Close(); // the third, empty one is abandoned
    EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT group_concat(姓名) FROM 基本情况表 WHERE 工作单位='三组'")),
              QStringLiteral("新一,新二"));
}

// A value the database refuses, a write conflict and remarks too long: nothing is stored,
// the operator is told, the form keeps what was typed and does not move.
TEST_F(DetailFormTest, FailedSavesStoreNothingAndSayWhy) {
    OpenOn(1);
    m_boxes.Answer(IDOK).Answer(IDOK).Answer(IDOK).Answer(IDOK);
    Run(0, [&](QDialog& d) {
        set(d, 1007, QStringLiteral("教师"));
        set(d, 1025, QStringLiteral("2001-2-30"));
        Click(Control(d, 1017));
        ASSERT_FALSE(m_boxes.Boxes().empty());
        EXPECT_TRUE(m_boxes.Boxes().back().text.startsWith(QStringLiteral("“何时迁来本市”的值无法保存")))
            << m_boxes.Boxes().back().text.toStdString();
        EXPECT_EQ(text(d, 1002), QStringLiteral("张三")) << "no move";
        EXPECT_EQ(text(d, 1007), QStringLiteral("教师"));
        set(d, 1025, QStringLiteral("2001-2-28"));
        set(d, 1013, QString(26, QChar(0x5907)));
        Click(Control(d, IDOK));
        set(d, 1013, QString());
        set(d, 1018, QStringLiteral("1980"));
        set(d, 1037, QString());
        Click(Control(d, IDOK));
        set(d, 1037, QStringLiteral("1"));
        ExecOn(m_db, QStringLiteral("UPDATE 基本情况表 SET 职业='农民' WHERE 编号=1"));
        Click(Control(d, IDOK)); // the row changed elsewhere
        Click(Control(d, IDCANCEL));
    });
    const QStringList texts = m_boxes.Texts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[1], QStringLiteral("备注长度不能大于50"));
    EXPECT_EQ(texts[2], QStringLiteral("出生年月不完整：请选择年、月、日，或者都不填。"));
    EXPECT_TRUE(texts[3].contains(QStringLiteral("其他用户"))) << texts[3].toStdString();
    EXPECT_EQ(Stored(1, "职业"), QStringLiteral("农民")) << "the other change is kept";
}

TEST(ResidentPhoto, ScalingDropsPixelsAndKeepsAtLeastOneRow) {
    EXPECT_EQ(ScaledHeight(600, 800, 300), 400);
    EXPECT_EQ(ScaledHeight(301, 301, 300), 300);
    EXPECT_EQ(ScaledHeight(1000, 333, 300), 99);
    EXPECT_EQ(ScaledHeight(1000, 3, 300), 1);
    RgbImage image;
    image.width = 4;
    image.height = 1;
    image.pixels = {0, 0, 0, 10, 10, 10, 20, 20, 20, 30, 30, 30};
    RgbImage half = ScaleByDropping(image, 2);
    EXPECT_EQ(half.pixels, (std::vector<unsigned char>{0, 0, 0, 20, 20, 20})) << "dropped, not averaged";
}

// Photos by size and answer: what is stored, and the files on disk.
TEST_F(DetailFormTest, ChoosingAPhoto) {
    struct Case {
        int w, h;
        int answer; // 0: no question
        int storedW, storedH;
    };
    const Case cases[] = {{600, 800, IDYES, 300, 400}, {301, 301, IDYES, 300, 300},
                          {300, 500, 0, 300, 500},     {1000, 333, IDYES, 300, 99},
                          {1000, 3, IDYES, 300, 1},    {640, 480, IDNO, 640, 480}};
    for (const Case& c : cases) {
        const QString file = Jpeg(QStringLiteral("p%1x%2.jpg").arg(c.w).arg(c.h), c.w, c.h);
        const QByteArray original = m_appDir.Read(QFileInfo(file).fileName());
        if (c.answer)
            m_boxes.Expect(QStringLiteral("图像宽超过300,是否自动调成300后入库？"), c.answer);
        m_files.Answer(file);
        OpenOn(4);
        Run(0, [&](QDialog& d) {
            Click(Control(d, 1014));
            Click(Control(d, IDOK));
            Click(Control(d, IDCANCEL));
        });
        m_rs.Close();
        const QByteArray stored = StoredPhoto(4);
        RgbImage image;
        ASSERT_TRUE(DecodeJpeg(stored, image)) << c.w;
        EXPECT_EQ(image.width, c.storedW);
        EXPECT_EQ(image.height, c.storedH);
        if (c.answer == IDNO) {
            EXPECT_EQ(stored, original) << "No stores the chosen bytes unchanged";
        }
        EXPECT_EQ(m_appDir.Read(QFileInfo(file).fileName()), original) << "the chosen file is never changed";
        EXPECT_TRUE(QFileInfo::exists(LocalPath(m_app.m_strAppDir + QStringLiteral("临时照片.bmp"))));
    }
}

TEST_F(DetailFormTest, APhotoThatIsNoJpegAndARowWithoutPhoto) {
    m_appDir.Write(QStringLiteral("bad.jpg"), "not a picture at all");
    m_files.Answer(m_appDir.Path(QStringLiteral("bad.jpg"))).Answer(Jpeg(QStringLiteral("ok.jpg"), 200, 100));
    m_boxes.Expect(QStringLiteral("读取文件失败，此格式无效或不支持"));
    OpenOn(3);
    Run(0, [&](QDialog& d) {
        Click(Control(d, 1014));
        EXPECT_EQ(m_boxes.Boxes().back().caption, QStringLiteral("错误"));
        EXPECT_EQ(m_boxes.Boxes().back().owner, nullptr);
        Click(Control(d, 1014)); // a good one, shown at once
        auto& form = static_cast<CDlgRYXXQK&>(d);
        EXPECT_TRUE(form.m_picture.m_pPicture);
        Click(Control(d, 1017)); // saved with the row; the next has none
        EXPECT_FALSE(form.m_picture.m_pPicture) << "a row without photo clears the area";
        EXPECT_FALSE(QFileInfo::exists(LocalPath(form.TemporaryPhotoPath())))
            << "and no other resident's photo is left for the person sheet";
        Click(Control(d, IDCANCEL));
    });
    EXPECT_FALSE(StoredPhoto(3).isEmpty());
}

// A chosen photo waits for the row's save: a refused save keeps it for the next try, and
// leaving without saving leaves the old one (the opener's recordset cancels the change).
TEST_F(DetailFormTest, AChosenPhotoFollowsTheSaveOfItsRow) {
    const QString file = Jpeg(QStringLiteral("new.jpg"), 120, 160);
    m_files.Answer(file).Answer(file);
    m_boxes.Answer(IDOK);
    OpenOn(4);
    Run(0, [&](QDialog& d) {
        Click(Control(d, 1014));
        set(d, 1025, QStringLiteral("2001-2-30"));
        Click(Control(d, IDOK)); // refused
        set(d, 1025, QString());
        Click(Control(d, IDOK));
        Click(Control(d, IDCANCEL));
    });
    m_rs.Close();
    EXPECT_EQ(StoredPhoto(4), m_appDir.Read(QStringLiteral("new.jpg")));

    OpenOn(3);
    Run(0, [&](QDialog& d) {
        Click(Control(d, 1014));
        Click(Control(d, IDCANCEL));
    });
    m_rs.Close();
    EXPECT_TRUE(StoredPhoto(3).isEmpty()) << "never saved";
}

// Enter saves from a line, a drop-down and the remarks; the résumé takes it as a new line.
TEST_F(DetailFormTest, EnterSavesExceptInTheResume) {
    OpenOn(4);
    Run(0, [&](QDialog& d) {
        d.show();
        QApplication::setActiveWindow(&d);
        auto typeText = [](QWidget* target, const QString& text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
            QApplication::sendEvent(target, &press);
        };
        auto* resume = qobject_cast<QPlainTextEdit*>(Control(d, 1000));
        resume->setFocus();
        typeText(resume, QStringLiteral("一"));
        QTest::keyClick(resume, Qt::Key_Return);
        typeText(resume, QStringLiteral("二"));
        EXPECT_EQ(resume->toPlainText(), QStringLiteral("一\n二"));
        auto* job = qobject_cast<QLineEdit*>(Control(d, 1007));
        job->setFocus();
        job->setText(QStringLiteral("木匠"));
        QTest::keyClick(job, Qt::Key_Return);
        EXPECT_EQ(Stored(4, "职业"), QStringLiteral("木匠"));
        auto* sex = qobject_cast<QComboBox*>(Control(d, 1003));
        sex->setFocus();
        sex->setCurrentText(QStringLiteral("女"));
        QTest::keyClick(sex->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(Stored(4, "性别"), QStringLiteral("女"));
        auto* remarks = qobject_cast<QPlainTextEdit*>(Control(d, 1013));
        remarks->setFocus();
        typeText(remarks, QStringLiteral("备"));
        QTest::keyClick(remarks, Qt::Key_Return);
        EXPECT_EQ(Stored(4, "备注"), QStringLiteral("备"));
        EXPECT_EQ(Stored(4, "备注2"), QStringLiteral("一\n二"));
        Click(Control(d, IDCANCEL));
    });
}

namespace {

QByteArray docxPart(const QByteArray& docx, const char* name) {
    std::vector<ZipEntry> entries;
    ReadZip(docx, entries, nullptr);
    for (const ZipEntry& e : entries)
        if (e.name == QLatin1String(name))
            return e.data;
    return QByteArray();
}

} // namespace

// "打印": the sheet from the template in the working folder, written as a document of its
// own and opened; the photo the form shows; a query form's sheet is empty.
TEST_F(DetailFormTest, ThePersonSheet) {
    QStandardPaths::setTestModeEnabled(true);
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_appDir.Folder());
    m_appDir.Write(QStringLiteral("人员情况表.dot"), PersonSheetTemplate());
    RecordingShell shell;
    m_files.Answer(Jpeg(QStringLiteral("face.jpg"), 150, 200));
    OpenOn(1);
    Run(0, [&](QDialog& d) {
        Click(Control(d, 1014));   // a photo, shown and kept in 临时照片.bmp
        Click(Control(d, 1061));
        Click(Control(d, IDCANCEL));
    });
    m_rs.Close();
    ASSERT_EQ(shell.opened.size(), 1);
    QFile sheet(shell.opened[0]);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QByteArray docx = sheet.readAll();
    const QByteArray body = docxPart(docx, "word/document.xml");
    EXPECT_TRUE(body.contains("张三"));
    EXPECT_TRUE(body.contains("1980.01.05"));
    EXPECT_TRUE(body.contains("2001-03-04")) << "the migration date cut to the date";
    EXPECT_FALSE(body.contains("2001-03-04 00")) << body.size();
    EXPECT_FALSE(docxPart(docx, "word/media/vrin_photo1.jpeg").isEmpty());

    Run(CDlgRYXXQK::Query, [&](QDialog& d) {
        Click(Control(d, 1061));
        Click(Control(d, IDCANCEL));
    });
    ASSERT_EQ(shell.opened.size(), 2);
    EXPECT_NE(shell.opened[1], shell.opened[0]) << "no sheet overwrites another";
    QFile empty(shell.opened[1]);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    const QByteArray queryBody = docxPart(empty.readAll(), "word/document.xml");
    EXPECT_TRUE(queryBody.contains(">..<"));
    EXPECT_FALSE(queryBody.contains("张三"));

    QFile::remove(m_appDir.Path(QStringLiteral("人员情况表.dot")));
    m_boxes.Answer(IDOK);
    OpenOn(2);
    Run(0, [&](QDialog& d) {
        Click(Control(d, 1061));
        Click(Control(d, IDCANCEL));
    });
    EXPECT_TRUE(m_boxes.Boxes().back().text.startsWith(QStringLiteral("找不到模板文件")));
    QDir::setCurrent(before);
}

// On a screen lower than the form (1366×768 less a taskbar) the fields scroll, the buttons
// stay in view, and Tab brings a field below the fold into view.
TEST_F(DetailFormTest, OnALowScreenTheFieldsScrollAndTheButtonsStay) {
    OpenOn(1);
    for (int available : {728, 1040}) {
        Run(CDlgRYXXQK::View, [&](QDialog& d) {
            auto& form = static_cast<CDlgRYXXQK&>(d);
            form.Form().FitHeight(available);
            QApplication::processEvents();
            EXPECT_LE(form.height(), available - ScrollingForm::kWindowFrame);
            for (int id : {IDOK, IDCANCEL}) {
                QWidget* button = Control(d, id);
                const QRect at(button->mapTo(&d, QPoint(0, 0)), button->size());
                EXPECT_TRUE(d.rect().contains(at)) << id << " at " << available;
                EXPECT_TRUE(button->isVisible());
            }
            QScrollArea* area = form.Form().Area();
            EXPECT_EQ(area->verticalScrollBar()->maximum() > 0, available < 800) << available;
            QWidget* remarks = Control(d, 1013); // the lowest field
            remarks->setFocus(Qt::TabFocusReason);
            area->ensureWidgetVisible(remarks);
            const QRect seen(remarks->mapTo(area->viewport(), QPoint(0, 0)), remarks->size());
            EXPECT_TRUE(area->viewport()->rect().contains(seen)) << available;
            // Tab goes through the fields before the buttons, as on a screen where all fits.
            QList<QWidget*> chain;
            for (QWidget* w = Control(d, 1002); w && !chain.contains(w); w = w->nextInFocusChain())
                chain << w;
            EXPECT_LT(chain.indexOf(remarks), chain.indexOf(Control(d, IDOK)));
            EXPECT_LT(chain.indexOf(Control(d, 1002)), chain.indexOf(remarks));
            Click(Control(d, IDCANCEL));
        });
    }
}
