#include "platform/OleDateTime.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cmath>
#include <ctime>

namespace {

constexpr double kMinDate = -657434.0;     // 0100-01-01
constexpr double kMaxDate = 2958465.99999; // 9999-12-31 23:59:59

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

const long long kOleEpoch = daysFromCivil(1899, 12, 30);

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

} // namespace

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

COleDateTime COleDateTime::FromDouble(double date) {
    COleDateTime t;
    t.m_dt = date;
    t.m_status = (std::isfinite(date) && date >= kMinDate && date <= kMaxDate) ? valid : invalid;
    return t;
}

COleDateTime COleDateTime::Invalid() {
    COleDateTime t;
    t.m_status = invalid;
    return t;
}

COleDateTime COleDateTime::GetCurrentTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return COleDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec);
}

int COleDateTime::SetDateTime(int year, int month, int day, int hour, int minute, int second) {
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59) {
        m_dt = 0;
        m_status = invalid;
        return 1;
    }
    const double days = static_cast<double>(daysFromCivil(year, month, day) - kOleEpoch);
    const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
    m_dt = days >= 0 ? days + time : days - time;
    m_status = valid;
    return 0;
}

bool COleDateTime::parts(Parts& p) const {
    if (m_status != valid)
        return false;
    // Whole seconds from the epoch, rounded to the nearest second, counting the fraction
    // forward from midnight of the day part.
    double dayPart = std::trunc(m_dt);
    double frac = std::fabs(m_dt - dayPart);
    long long seconds = std::llround(frac * 86400.0);
    long long days = static_cast<long long>(dayPart);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    civilFromDays(days + kOleEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(seconds / 3600);
    p.minute = static_cast<int>(seconds / 60 % 60);
    p.second = static_cast<int>(seconds % 60);
    long long dow = (days + kOleEpoch + 4) % 7; // 1970-01-01 was a Thursday
    if (dow < 0)
        dow += 7;
    p.dayOfWeek = static_cast<int>(dow) + 1;
    p.dayOfYear = static_cast<int>(days + kOleEpoch - daysFromCivil(p.year, 1, 1)) + 1;
    return true;
}

double COleDateTime::compareKey() const {
    double dayPart = std::trunc(m_dt);
    return dayPart + std::fabs(m_dt - dayPart);
}

#define PART_GETTER(name, field)                                                                   \
    int COleDateTime::name() const {                                                               \
        Parts p;                                                                                   \
        return parts(p) ? p.field : -1;                                                            \
    }
PART_GETTER(GetYear, year)
PART_GETTER(GetMonth, month)
PART_GETTER(GetDay, day)
PART_GETTER(GetHour, hour)
PART_GETTER(GetMinute, minute)
PART_GETTER(GetSecond, second)
PART_GETTER(GetDayOfWeek, dayOfWeek)
PART_GETTER(GetDayOfYear, dayOfYear)
#undef PART_GETTER

QString COleDateTime::Format(const QString& format) const {
    Parts p;
    if (!parts(p))
        return QString();
    static const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    auto two = [](int v) { return QString::asprintf("%02d", v); };
    QString out;
    for (int i = 0; i < format.size(); ++i) {
        QChar c = format.at(i);
        if (c != QLatin1Char('%') || i + 1 >= format.size()) {
            out += c;
            continue;
        }
        QChar code = format.at(++i);
        if (code == QLatin1Char('#') && i + 1 < format.size())
            code = format.at(++i); // "%#d": no leading zero
        switch (code.unicode()) {
        case 'Y':
            out += QString::asprintf("%04d", p.year);
            break;
        case 'y':
            out += two(p.year % 100);
            break;
        case 'm':
            out += two(p.month);
            break;
        case 'd':
            out += two(p.day);
            break;
        case 'H':
            out += two(p.hour);
            break;
        case 'I':
            out += two(p.hour % 12 == 0 ? 12 : p.hour % 12);
            break;
        case 'M':
            out += two(p.minute);
            break;
        case 'S':
            out += two(p.second);
            break;
        case 'p':
            out += QLatin1String(p.hour < 12 ? "AM" : "PM");
            break;
        case 'j':
            out += QString::asprintf("%03d", p.dayOfYear);
            break;
        case 'a':
            out += QString::fromLatin1(weekdays[p.dayOfWeek - 1]).left(3);
            break;
        case 'A':
            out += QString::fromLatin1(weekdays[p.dayOfWeek - 1]);
            break;
        case 'b':
            out += QString::fromLatin1(months[p.month - 1]).left(3);
            break;
        case 'B':
            out += QString::fromLatin1(months[p.month - 1]);
            break;
        case 'c':
            out += QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                                     p.hour, p.minute, p.second);
            break;
        case 'x':
            out += QString::asprintf("%04d-%02d-%02d", p.year, p.month, p.day);
            break;
        case 'X':
            out += QString::asprintf("%02d:%02d:%02d", p.hour, p.minute, p.second);
            break;
        case '%':
            out += QLatin1Char('%');
            break;
        default:
            out += QLatin1Char('%');
            out += code;
            break;
        }
    }
    return out;
}

namespace {

int expandYear(const QString& digits) {
    int y = digits.toInt();
    if (digits.size() <= 2)
        y += y < 30 ? 2000 : 1900;
    return y;
}

bool parseTime(const QString& text, int& h, int& mi, int& s) {
    h = mi = s = 0;
    QString t = text.trimmed();
    if (t.isEmpty())
        return true;
    static const QRegularExpression colon(
        QStringLiteral("^(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*([AaPp][Mm])?$"));
    static const QRegularExpression chinese(
        QStringLiteral("^(\\d{1,2})[时點点](?:(\\d{1,2})分?)?(?:(\\d{1,2})秒)?$"));
    QRegularExpressionMatch m = colon.match(t);
    if (!m.hasMatch())
        m = chinese.match(t);
    if (!m.hasMatch())
        return false;
    h = m.captured(1).toInt();
    mi = m.captured(2).isEmpty() ? 0 : m.captured(2).toInt();
    s = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (m.lastCapturedIndex() >= 4 && !m.captured(4).isEmpty()) {
        if (h < 1 || h > 12)
            return false;
        bool pm = m.captured(4).at(0).toLower() == QLatin1Char('p');
        h = h % 12 + (pm ? 12 : 0);
    }
    return h <= 23 && mi <= 59 && s <= 59;
}

} // namespace

bool COleDateTime::ParseDateTime(const QString& input) {
    QString text = input.trimmed();
    // Full-width digits and punctuation as an input method may give them.
    for (QChar& ch : text) {
        char16_t u = ch.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            ch = QChar(u - 0xFF10 + '0');
        else if (u == 0xFF0D)
            ch = QLatin1Char('-');
        else if (u == 0xFF0F)
            ch = QLatin1Char('/');
        else if (u == 0xFF1A)
            ch = QLatin1Char(':');
        else if (u == 0x3000)
            ch = QLatin1Char(' ');
    }
    static const QRegularExpression chineseDate(
        QStringLiteral("^(\\d{2,4})年(?:(\\d{1,2})月(?:(\\d{1,2})[日号])?)?\\s*(.*)$"));
    static const QRegularExpression isoDate(
        QStringLiteral("^(\\d{3,4})[-/.](\\d{1,2})(?:[-/.](\\d{1,2}))?(?:[ T]+(.*))?$"));
    static const QRegularExpression usDate(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{2,4})(?:\\s+(.*))?$"));
    static const QRegularExpression timeOnly(QStringLiteral("^\\d{1,2}(:|时)"));

    int y = 1899, mo = 12, d = 30;
    QString rest;
    bool dateGiven = true;
    QRegularExpressionMatch m;
    if ((m = chineseDate.match(text)).hasMatch()) {
        y = expandYear(m.captured(1));
        mo = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        d = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        rest = m.captured(4);
    } else if ((m = isoDate.match(text)).hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(2).toInt();
        d = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        rest = m.captured(4);
    } else if ((m = usDate.match(text)).hasMatch()) {
        mo = m.captured(1).toInt();
        d = m.captured(2).toInt();
        y = expandYear(m.captured(3));
        rest = m.captured(4);
    } else if (timeOnly.match(text).hasMatch()) {
        dateGiven = false;
        rest = text;
    } else {
        *this = Invalid();
        return false;
    }
    int h, mi, s;
    if (!parseTime(rest, h, mi, s)) {
        *this = Invalid();
        return false;
    }
    if (!dateGiven) {
        m_dt = (h * 3600 + mi * 60 + s) / 86400.0;
        m_status = valid;
        return true;
    }
    return SetDateTime(y, mo, d, h, mi, s) == 0;
}
