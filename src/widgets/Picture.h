#pragma once
// A picture from the bytes of an image file (in practice a JPEG), drawn stretched into any
// device context and saved back as the very bytes it was loaded from.

#include "widgets/DeviceContext.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

class CPicture {
public:
    CPicture();
    virtual ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    bool LoadFromBuffer(const char* bytes, qint64 count);
    bool LoadFromFile(const QString& path);
    bool Draw(CDC* dc, const QRect& rect);
    bool RefreshSize(CDC* dc);
    bool SaveToFile(const QString& path);
    void FreePicture();

    // The picture's size in hundredths of a millimetre (at 96 pixels per inch).
    QSize HimetricSize() const;

    std::unique_ptr<QImage> m_pPicture;
    qint32 m_nHeight = 0;
    qint32 m_nSize = 0;
    qint32 m_nWidth = 0;

private:
    QByteArray m_bytes; // what the picture was loaded from
};

// value * numerator / denominator, rounded to the nearest integer.
int MulDiv(int value, int numerator, int denominator);
