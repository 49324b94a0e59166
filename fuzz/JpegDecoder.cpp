// Fuzz entry of the JPEG decoder, as "logo.jpg" and the background pictures meet it:
// bytes that are no whole picture are refused with a reason and leave the image as
// it was; a picture taken has its size's pixels, and encoded again it decodes to the
// same size.
#include "fuzz/FuzzEntries.h"

#include "platform/Jpeg.h"

namespace zeko::fuzz {

namespace {

// Encoding again is left to pictures of a logo's size: it is the decoder that is
// driven here, and bigger pictures slow every run.
constexpr int64_t MaxPixelsEncodedAgain = 512 * 512;

bool WholeImage(const TRgbImage& image) {
    const int64_t pixels = int64_t{image.Width} * image.Height;
    return image.Width > 0 && image.Height > 0 && pixels <= MaxJpegPixels &&
           image.Rgb.size() == static_cast<size_t>(pixels) * 3;
}

} // namespace

bool JpegDecoder(const uint8_t* data, size_t size) {
    TRgbImage image;
    image.Resize(2, 1);
    image.Rgb = {1, 2, 3, 4, 5, 6};
    const TRgbImage before = image;
    std::string error;
    if (!DecodeJpeg(data, size, image, &error))
        return !error.empty() && image.Width == before.Width && image.Height == before.Height &&
               image.Rgb == before.Rgb;
    if (!WholeImage(image))
        return false;
    if (int64_t{image.Width} * image.Height > MaxPixelsEncodedAgain)
        return true;
    std::vector<uint8_t> encoded;
    TRgbImage again;
    return EncodeJpeg(image, 75, encoded, &error) && DecodeJpeg(encoded.data(), encoded.size(), again, &error) &&
           again.Width == image.Width && again.Height == image.Height && WholeImage(again);
}

} // namespace zeko::fuzz
