#pragma once
// A photo an operator chooses for a resident: read, checked, scaled down to a width of
// 300 pixels on request, and the bytes that go into the row.

#include "platform/Jpeg.h"

#include <QByteArray>
#include <QString>

constexpr int kPhotoWidth = 300;
constexpr int kPhotoQuality = 85;

// The image scaled to width by dropping pixels (the nearest source pixel, never an average);
// the height keeps the proportion, the fraction dropped, at least 1.
RgbImage ScaleByDropping(const RgbImage& image, int width);

// The height a photo w × h gets at the given width.
int ScaledHeight(int width, int height, int toWidth);
