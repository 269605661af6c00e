#include "widgets/Fonts.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions() {
    const QStringList song = {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
                              QStringLiteral("Noto Sans CJK SC")};
    // WenQuanYi Zen Hei first: Noto Sans CJK gives some 275 common characters (一, 人, 户 ...)
    // the glyphs of the Kangxi radicals, so a PDF's text would read as those radicals.
    const QStringList hei = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("AR PL UMing CN")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("黑体"), hei);
    QFont::insertSubstitutions(QStringLiteral("SimHei"), hei);
    QFont::insertSubstitutions(QStringLiteral("楷体"), kai);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("KaiTi"), kai);
    // No clerical-script face is packaged; the brush-written Kai face comes closest.
    QFont::insertSubstitutions(QStringLiteral("隶书"), kai);
    QFont::insertSubstitutions(QStringLiteral("LiSu"), kai);
}
