#include "platform/qt/QtJpeg.h"

#include "platform/TextFiles.h"
#include "platform/FileErrorText.h"

#include <QFile>

#include <cstring>
#include <filesystem>

namespace zeko {

QImage ToQImage(const TRgbImage& image) {
    QImage out(image.Width, image.Height, QImage::Format_RGB888);
    for (int y = 0; y < image.Height; ++y)
        std::memcpy(out.scanLine(y), image.Pixel(0, y), static_cast<size_t>(image.Width) * 3);
    return out;
}

TRgbImage FromQImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    TRgbImage out;
    out.Resize(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(out.Pixel(0, y), rgb.constScanLine(y), static_cast<size_t>(rgb.width()) * 3);
    return out;
}

bool LoadJpegPicture(const std::string& fileName, QImage& picture) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec))
        return false;
    TRgbImage image;
    if (!DecodeJpegFile(fileName, image))
        return false;
    picture = ToQImage(image);
    return true;
}

bool LoadJpegResource(const QString& resource, QImage& picture) {
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    TRgbImage image;
    if (!DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size()), image))
        return false;
    picture = ToQImage(image);
    return true;
}

bool SaveJpegPicture(const std::string& fileName, const QImage& picture, int quality, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!EncodeJpeg(FromQImage(picture), quality, bytes, &error))
        return false;
    if (const int failure = WriteWholeFile(fileName, bytes.data(), bytes.size(), false); failure != 0) {
        error = fileName + ": " + SystemErrorText(failure);
        return false;
    }
    return true;
}

} // namespace zeko
