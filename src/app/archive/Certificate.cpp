#include "app/archive/Certificate.h"

#include "widgets/DeviceContext.h"

namespace {

constexpr int L = 300, T = 500, W = 1600;

// Text at x, narrowed (a horizontal stretch of its font) when it would cross border.
void textWithin(CDC& dc, const QFont& font, int x, int y, const QString& text, int border) {
    const int width = dc.GetTextExtent(text).width();
    if (width > 0 && x + width > border) {
        QFont narrow = font;
        narrow.setStretch(std::max(1, (border - x) * 100 / width));
        dc.SelectFont(narrow);
        dc.TextOut(x, y, text);
        dc.SelectFont(font);
        return;
    }
    dc.TextOut(x, y, text);
}

} // namespace

void DrawCertificate(CDC& dc, const CertificateValues& v, const QImage* photo,
                     const QString& communityTitle, const QDate& today) {
    const QFont a = MakeDeviceFont(200, 700, QStringLiteral("黑体"));
    const QFont b = MakeDeviceFont(100, 400, QStringLiteral("宋体"));
    const QFont previous = dc.SelectFont(a);
    dc.SetBkModeTransparent();
    dc.TextOut(L + 2500, T - 20, QStringLiteral("户籍证明"));
    dc.SelectFont(b);
    dc.TextOut(L, T + 50, QStringLiteral("   存根           第(    )号"));
    dc.MoveTo(L, T + 150);
    dc.LineTo(L + 4000, T + 150);
    if (photo && !photo->isNull())
        dc.StretchImage(QRect(QPoint(3000, 800), QPoint(3800 - 1, 1800 - 1)), *photo);

    const QString date = QStringLiteral("           ") +
                         QStringLiteral("%1年%2月%3日")
                             .arg(today.year(), 4, 10, QLatin1Char('0'))
                             .arg(today.month(), 2, 10, QLatin1Char('0'))
                             .arg(today.day(), 2, 10, QLatin1Char('0'));
    struct Line {
        int y;
        QString text;
    };
    const Line lines[] = {
        {800, QStringLiteral("姓名:") + v.name},
        {950, QStringLiteral("性别:") + v.sex},
        {1100, QStringLiteral("曾用名:") + v.formerName},
        {1250, QStringLiteral("户口性质:") + v.householdKind},
        {1400, QStringLiteral("民族:") + v.nation},
        {1550, QStringLiteral("出生日期:") + v.birthDate.left(10)},
        {1800, QStringLiteral("身份证号:") + v.idNumber},
        {1950, QStringLiteral("住址:") + v.address},
        {2100, QStringLiteral("户籍所在地:") + v.address},
        {2250, QStringLiteral("            为我村管辖居民")},
        {2400, QStringLiteral("                特此证明")},
        {2700, communityTitle},
        {3300, date},
    };
    for (const Line& line : lines) {
        textWithin(dc, b, L, line.y, line.text, kStubBorder);
        // Beside the photo the certificate ends where the photo begins.
        const bool besidePhoto = photo && !photo->isNull() && line.y >= 800 && line.y < 1800;
        textWithin(dc, b, L + W, line.y, line.text, besidePhoto ? kPhotoBorder : kCertificateBorder);
    }
    dc.MoveTo(L, 3400);
    dc.LineTo(L + 4000, 3400);
    dc.MoveTo(1850, 650);
    dc.LineTo(1850, 3400);
    dc.SelectFont(previous);
}
