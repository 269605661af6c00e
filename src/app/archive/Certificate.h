#pragma once
// The household-registration certificate "户籍证明": one page, the stub on the left, the
// certificate with the photo on the right, laid out in printer dots at 600 dpi.

#include <QDate>
#include <QImage>
#include <QString>

class CDC;

struct CertificateValues {
    QString name, sex, formerName, householdKind, nation, birthDate, idNumber, address;
};

// The borders a line of each half must not cross: the stub ends at the separator, the
// certificate at the right rule (and at the photo beside it).
constexpr int kStubBorder = 1850;
constexpr int kCertificateBorder = 4300;
constexpr int kPhotoBorder = 3000;

// Draws the page: values, photo (null: none), community title and the day it is issued.
void DrawCertificate(CDC& dc, const CertificateValues& values, const QImage* photo,
                     const QString& communityTitle, const QDate& today);
