#include "widgets/Picture.h"
#include "platform/Jpeg.h"
#include "widgets/MainWindow.h"

#include "RecordingDC.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QWidget>

namespace {

QByteArray jpegBytes(int width, int height) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height * 3, 128);
    return EncodeJpeg(image, 85);
}

QByteArray bmpBytes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace

TEST(Picture, LoadsJpegAndBmpFromFilesAndBuffers) {
    TestDir dir;
    dir.Write("photo.jpg", jpegBytes(300, 400));
    dir.Write("photo.bmp", bmpBytes(60, 80));
    CPicture picture;
    ASSERT_TRUE(picture.LoadFromFile(dir.Path(QStringLiteral("photo.jpg"))));
    EXPECT_EQ(picture.m_nWidth, 300);
    EXPECT_EQ(picture.m_nHeight, 400);
    EXPECT_EQ(picture.m_nSize, dir.Read("photo.jpg").size());
    EXPECT_EQ(picture.HimetricSize(), QSize(7938, 10583));
    ASSERT_TRUE(picture.LoadFromFile(dir.Path(QStringLiteral("photo.bmp"))));
    EXPECT_EQ(picture.m_nWidth, 60);
    const QByteArray bmp = bmpBytes(60, 80);
    CPicture fromBuffer;
    EXPECT_TRUE(fromBuffer.LoadFromBuffer(bmp.constData(), bmp.size()));
    ASSERT_TRUE(fromBuffer.m_pPicture);
    EXPECT_EQ(fromBuffer.m_pPicture->size(), QSize(60, 80));
    EXPECT_TRUE(fromBuffer.LoadFromBuffer("not a picture", 13))
        << "the callers look at the picture";
    EXPECT_FALSE(fromBuffer.m_pPicture);
}

TEST(Picture, AMissingFileSaysSoInEnglishUnderItsOwnCaption) {
    TestDir dir;
    TestResponder boxes;
    const QString path = dir.Path(QStringLiteral("missing.jpg"));
    boxes.Expect(path + QStringLiteral(" was not found."));
    CPicture picture;
    EXPECT_FALSE(picture.LoadFromFile(path));
    EXPECT_FALSE(picture.m_pPicture);
    EXPECT_EQ(picture.m_nSize, 0);
    EXPECT_EQ(boxes.Boxes()[0].caption, QStringLiteral("CPicture Error"));
    EXPECT_EQ(boxes.Boxes()[0].style, unsigned(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(boxes.Boxes()[0].owner, nullptr) << "no main window yet";
    QWidget main;
    SetMainWnd(&main);
    boxes.Answer(IDOK);
    picture.LoadFromFile(path);
    EXPECT_EQ(boxes.Boxes()[1].owner, &main);
    SetMainWnd(nullptr);
}

TEST(Picture, DrawsStretchedAndMeasuresForTheDevice) {
    const QByteArray bytes = jpegBytes(300, 400);
    CPicture picture;
    RecordingDC screen(false, 120), printer(true, 600);
    EXPECT_FALSE(picture.Draw(&screen, QRect(0, 0, 10, 10))) << "nothing loaded";
    EXPECT_FALSE(picture.RefreshSize(&screen));
    EXPECT_TRUE(screen.images.isEmpty());
    picture.LoadFromBuffer(bytes.constData(), bytes.size());
    EXPECT_FALSE(picture.Draw(nullptr, QRect(0, 0, 10, 10)));
    ASSERT_TRUE(picture.Draw(&screen, QRect(3000, 800, 800, 1000)));
    EXPECT_EQ(screen.images[0].target, QRect(3000, 800, 800, 1000));
    EXPECT_EQ(screen.images[0].size, QSize(300, 400));
    ASSERT_TRUE(picture.RefreshSize(&printer));
    EXPECT_EQ(picture.m_nWidth, 300) << "a printer measures at 96 per inch";
    EXPECT_EQ(picture.m_nHeight, 400);
    ASSERT_TRUE(picture.RefreshSize(&screen));
    EXPECT_EQ(picture.m_nWidth, 375) << "a screen at its own resolution";
    EXPECT_EQ(picture.m_nHeight, 500);
}

TEST(Picture, SavesTheBytesItWasLoadedFromAndFreesEverything) {
    TestDir dir;
    const QByteArray bytes = jpegBytes(90, 120);
    CPicture picture;
    EXPECT_FALSE(picture.SaveToFile(dir.Path(QStringLiteral("none.bmp")))) << "nothing loaded";
    picture.LoadFromBuffer(bytes.constData(), bytes.size());
    ASSERT_TRUE(picture.SaveToFile(dir.Path(QStringLiteral("临时照片.bmp"))));
    EXPECT_EQ(dir.Read("临时照片.bmp"), bytes);
    TestResponder boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(picture.SaveToFile(dir.Path(QStringLiteral("no/folder/x.bmp"))));
    EXPECT_TRUE(boxes.Boxes()[0].text.endsWith(QStringLiteral(" contains an incorrect path.")));
    picture.LoadFromFile(dir.Path(QStringLiteral("临时照片.bmp")));
    picture.FreePicture();
    EXPECT_FALSE(picture.m_pPicture);
    EXPECT_EQ(picture.m_nWidth, 0);
    EXPECT_EQ(picture.m_nHeight, 0);
    EXPECT_EQ(picture.m_nSize, 0);
}
