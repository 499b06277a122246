// SavePicture for the capture: a picture written as a bitmap file (.bmp), 32
// bits per pixel (blue, green, red, unused), rows top-down, so the picture's
// own memory is the file's pixel block and nothing is converted. The file is
// overwritten in place: a capture per frame of the same size neither
// truncates nor grows it.
#pragma once

#include <QImage>
#include <QString>

namespace pelix::player {

// `picture` in QImage::Format_RGB32. False when the file cannot be written.
bool SavePicture(const QImage& picture, const QString& path);

} // namespace pelix::player
