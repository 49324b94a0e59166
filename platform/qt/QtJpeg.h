#pragma once
// JPEG pictures for the windows: decoded by libjpeg (platform/Jpeg) and handed to
// Qt as a QImage.
#include "platform/Jpeg.h"

#include <QImage>
#include <QString>

#include <string>

namespace zeko {

QImage ToQImage(const TRgbImage& image);
TRgbImage FromQImage(const QImage& image);

// When the file exists and decodes, Picture := its image and true; otherwise
// Picture stays as it was.
bool LoadJpegPicture(const std::string& fileName, QImage& picture);
// The same for a picture compiled into the program (":/..." resource path).
bool LoadJpegResource(const QString& resource, QImage& picture);
// Encodes the picture as a baseline JPEG of that quality into the file; false with
// the reason in error when it cannot.
bool SaveJpegPicture(const std::string& fileName, const QImage& picture, int quality, std::string& error);

} // namespace zeko
