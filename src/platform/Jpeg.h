#pragma once
// JPEG files through the IJG library: decoding a photo an operator chooses and encoding
// scaled-down copies.

#include <QByteArray>
#include <QString>

#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels; // width * height * 3 bytes, rows from the top

    bool IsNull() const { return width <= 0 || height <= 0; }
};

// The JPEG file of an image at the given quality (1..100); empty on failure.
QByteArray EncodeJpeg(const RgbImage& image, int quality, QString* error = nullptr);

// Decodes JPEG bytes; FALSE (and error, when given) when they are no readable JPEG.
bool DecodeJpeg(const QByteArray& bytes, RgbImage& image, QString* error = nullptr);
