#pragma once
// The OLE date: days since 1899-12-30 00:00 as a double, the fraction being the time of
// day. Before that day the fraction still counts forward from midnight (-1.25 is
// 1899-12-29 06:00).

#include <QString>

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTime() = default; // the zero date, valid
    explicit COleDateTime(double date) { *this = FromDouble(date); }
    COleDateTime(int year, int month, int day, int hour, int minute, int second) {
        SetDateTime(year, month, day, hour, minute, second);
    }

    static COleDateTime FromDouble(double date);
    static COleDateTime Invalid();
    // Local time now, to the second.
    static COleDateTime GetCurrentTime();

    int SetDateTime(int year, int month, int day, int hour, int minute, int second);
    int SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }
    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    bool IsValid() const { return m_status == valid; }

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday
    int GetDayOfYear() const;

    // strftime-style codes (%Y %m %d %H %M %S %y %j %I %p %a %A %b %B %%) around any text.
    // An invalid date formats as "".
    QString Format(const QString& format) const;

    // Reads a date and time as an operator types it: "2002年12月1日15时45分",
    // "2002年12月1日", "2002年12月", "2002-12-1", "2002-12", "2002-12-01 15:45:00",
    // "12/1/2002", "2002/12/1", and a time alone. A missing day is 1. On failure the value
    // becomes invalid and FALSE is returned.
    bool ParseDateTime(const QString& text);

    double m_dt = 0;

    bool operator==(const COleDateTime& o) const {
        return m_status == o.m_status && m_dt == o.m_dt;
    }
    bool operator!=(const COleDateTime& o) const { return !(*this == o); }
    bool operator<(const COleDateTime& o) const { return compareKey() < o.compareKey(); }
    bool operator>(const COleDateTime& o) const { return o < *this; }
    bool operator<=(const COleDateTime& o) const { return !(o < *this); }
    bool operator>=(const COleDateTime& o) const { return !(*this < o); }

private:
    struct Parts {
        int year, month, day, hour, minute, second, dayOfWeek, dayOfYear;
    };
    bool parts(Parts& p) const;
    double compareKey() const; // a value that orders correctly also before 1899-12-30

    DateTimeStatus m_status = valid;
};

// Days in a month of the proleptic Gregorian calendar; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
