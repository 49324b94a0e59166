#include "platform/Jpeg.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

using namespace zeko;

namespace {

TRgbImage TwoColourImage(int w, int h) {
    TRgbImage image;
    image.Resize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image.Pixel(x, y);
            const bool left = x < w / 2;
            p[0] = left ? 200 : 5;
            p[1] = left ? 30 : 59;
            p[2] = left ? 20 : 149;
        }
    return image;
}

bool Near(const uint8_t* p, int r, int g, int b) {
    return std::abs(p[0] - r) <= 12 && std::abs(p[1] - g) <= 12 && std::abs(p[2] - b) <= 12;
}

} // namespace

TEST(Jpeg, EncodedImageDecodesToTheSameSizeAndColours) {
    const TRgbImage source = TwoColourImage(64, 40);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeJpeg(source, 95, bytes));
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    TRgbImage decoded;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), decoded));
    EXPECT_EQ(decoded.Width, 64);
    EXPECT_EQ(decoded.Height, 40);
    EXPECT_TRUE(Near(decoded.Pixel(5, 5), 200, 30, 20));
    EXPECT_TRUE(Near(decoded.Pixel(60, 35), 5, 59, 149));
}

TEST(Jpeg, AFileIsDecodedAsItsBytesAre) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeJpeg(TwoColourImage(16, 8), 90, bytes));
    test::TempDir dir;
    dir.Write("logo.jpg", std::string(bytes.begin(), bytes.end()));
    TRgbImage image;
    ASSERT_TRUE(DecodeJpegFile(dir / "logo.jpg", image));
    EXPECT_EQ(image.Width, 16);
    EXPECT_TRUE(Near(image.Pixel(1, 1), 200, 30, 20));
    std::string error;
    EXPECT_FALSE(DecodeJpegFile(dir.Path(), image, &error));  // a folder
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(image.Width, 16);
}

TEST(Jpeg, DataThatIsNoJpegOrIsCutShortIsRefusedAndLeavesTheImage) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeJpeg(TwoColourImage(32, 32), 80, bytes));
    TRgbImage image;
    image.Resize(3, 3);
    std::string error;
    const std::vector<uint8_t> garbage(200, 0x42);
    EXPECT_FALSE(DecodeJpeg(garbage.data(), garbage.size(), image, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size() / 2, image, &error));
    EXPECT_FALSE(DecodeJpeg(nullptr, 0, image));
    EXPECT_EQ(image.Width, 3);
    EXPECT_FALSE(DecodeJpegFile("/nonexistent/logo.jpg", image));
}

TEST(Jpeg, EmptyImageIsNotEncoded) {
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(EncodeJpeg(TRgbImage{}, 90, bytes));
}

// The frame header (marker 0xFF `frame`) of a JPEG made to claim `height` x `width`.
bool ClaimSize(std::vector<uint8_t>& bytes, uint8_t frame, uint16_t height, uint16_t width) {
    for (size_t i = 0; i + 8 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == frame) {
            bytes[i + 5] = static_cast<uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<uint8_t>(height);
            bytes[i + 7] = static_cast<uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<uint8_t>(width);
            return true;
        }
    return false;
}

// The baseline JPEG written again, without loss, as a progressive one: the
// program's encoder never writes one, but a "logo.jpg" may be one.
std::vector<uint8_t> Progressive(const std::vector<uint8_t>& baseline) {
    jpeg_decompress_struct in;
    jpeg_compress_struct out;
    jpeg_error_mgr errors;
    in.err = out.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&in);
    jpeg_create_compress(&out);
    jpeg_mem_src(&in, baseline.data(), static_cast<unsigned long>(baseline.size()));
    jpeg_read_header(&in, TRUE);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&in);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&out, &buffer, &length);
    jpeg_copy_critical_parameters(&in, &out);
    jpeg_simple_progression(&out);
    jpeg_write_coefficients(&out, coefficients);
    jpeg_finish_compress(&out);
    jpeg_destroy_compress(&out);
    jpeg_finish_decompress(&in);
    jpeg_destroy_decompress(&in);
    std::vector<uint8_t> bytes(buffer, buffer + length);
    std::free(buffer);
    return bytes;
}

// A picture whose header claims 60000 x 60000 pixels (10.8 GB of RGB), as a
// damaged "logo.jpg" may, is refused before any memory is taken for it.
TEST(Jpeg, APictureTooLargeForMemoryIsRefused) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(EncodeJpeg(TwoColourImage(16, 16), 90, bytes));
    ASSERT_TRUE(ClaimSize(bytes, 0xC0, 60000, 60000));
    TRgbImage image = TwoColourImage(4, 4);
    std::string error;
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size(), image, &error));
    EXPECT_EQ(error, "JPEG picture too large");
    EXPECT_EQ(image.Width, 4);
}

// A progressive picture keeps all its coefficients while its scans come in:
// 8200 x 8200 pixels would take some 200 MB of them before a pixel is decoded. The
// claim is refused before, so that a decoder held to 32 MB never gets to them.
TEST(Jpeg, AProgressivePictureTooLargeIsRefusedBeforeItsCoefficientsAreKept) {
    std::vector<uint8_t> baseline;
    ASSERT_TRUE(EncodeJpeg(TwoColourImage(16, 16), 90, baseline));
    std::vector<uint8_t> bytes = Progressive(baseline);
    TRgbImage image;
    ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), image));
    ASSERT_TRUE(ClaimSize(bytes, 0xC2, 8200, 8200));
    const char* before = std::getenv("JPEGMEM");
    const std::string kept = before ? before : "";
    ::setenv("JPEGMEM", "32M", 1);
    std::string error;
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size(), image, &error));
    EXPECT_EQ(error, "JPEG picture too large");
    if (before)
        ::setenv("JPEGMEM", kept.c_str(), 1);
    else
        ::unsetenv("JPEGMEM");
}
