// vrin-assets: writes the program's own files into a folder: the background picture
// "bk.jpg", the user manual "VRIN使用说明.doc", the person sheet's template "人员情况表.dot"
// and the desktop icon "vrin.png".
//
//   vrin-assets MANUAL_TEXT OUTPUT_FOLDER

#include "Assets.h"

#include "office/PersonSheetTemplate.h"
#include "platform/Jpeg.h"
#include "platform/TextFile.h"
#include "widgets/Resources.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vrin-assets MANUAL_TEXT OUTPUT_FOLDER\n");
        return 2;
    }
    QFile manual(QString::fromLocal8Bit(argv[1]));
    if (!manual.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vrin-assets: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    QImage background = DrawBackground(1280, 800).convertToFormat(QImage::Format_RGB888);
    RgbImage rgb;
    rgb.width = background.width();
    rgb.height = background.height();
    for (int y = 0; y < rgb.height; ++y) {
        const uchar* line = background.constScanLine(y);
        rgb.pixels.insert(rgb.pixels.end(), line, line + rgb.width * 3);
    }
    QString error;
    bool ok = WriteFileAtomic(folder + QStringLiteral("bk.jpg"), EncodeJpeg(rgb, 90), &error) &&
              WriteFileAtomic(folder + QStringLiteral("VRIN使用说明.doc"),
                              ManualRtf(QString::fromUtf8(manual.readAll())), &error) &&
              WriteFileAtomic(folder + QStringLiteral("人员情况表.dot"), PersonSheetTemplate(), &error) &&
              LoadBitmapResource(IDI_MAINFRAME).save(folder + QStringLiteral("vrin.png"), "PNG");
    if (!ok) {
        std::fprintf(stderr, "vrin-assets: %s\n", error.toUtf8().constData());
        return 1;
    }
    return 0;
}
