#pragma once
// JPEG pictures through libjpeg: decoding into a plain RGB image (the background
// pictures) and encoding one (picture exports). No Qt here; platform/qt/QtJpeg turns
// an image into a QImage.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

// Rows top to bottom, three bytes (R, G, B) per pixel, no padding.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;

    void Resize(int width, int height);
    uint8_t* Pixel(int x, int y) { return &Rgb[(static_cast<size_t>(y) * Width + x) * 3]; }
    const uint8_t* Pixel(int x, int y) const { return &Rgb[(static_cast<size_t>(y) * Width + x) * 3]; }
};

// The most pixels a decoded picture may have: a damaged header may claim a size
// that no memory holds. 64 million pixels are 192 MB of RGB.
constexpr int64_t MaxJpegPixels = 64 * 1000 * 1000;

// Grey and colour JPEGs decode to RGB. False on data that is no JPEG or is cut
// short, and on a picture of more than MaxJpegPixels; error (when given) then
// holds the reason.
bool DecodeJpeg(const uint8_t* data, size_t size, TRgbImage& image, std::string* error = nullptr);
bool DecodeJpegFile(const std::string& fileName, TRgbImage& image, std::string* error = nullptr);

// Baseline JPEG of quality 1..100.
bool EncodeJpeg(const TRgbImage& image, int quality, std::vector<uint8_t>& out, std::string* error = nullptr);

} // namespace zeko
