#include "platform/Jpeg.h"

#include "platform/TextFiles.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace zeko {
namespace {

void ExitWithMessage(j_common_ptr info);
void KeepQuiet(j_common_ptr) {}

// libjpeg reports fatal errors through error_exit, which must not return: jump
// back to the caller's setjmp point with the message kept. Warnings stay quiet.
struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];

    jpeg_error_mgr* Install() {
        jpeg_std_error(&pub);
        pub.error_exit = ExitWithMessage;
        pub.output_message = KeepQuiet;
        return &pub;
    }
};

void ExitWithMessage(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    longjmp(manager->jump, 1);
}

void SetError(std::string* error, const char* text) {
    if (error)
        *error = text;
}

} // namespace

void TRgbImage::Resize(int width, int height) {
    Width = width;
    Height = height;
    Rgb.assign(static_cast<size_t>(width) * height * 3, 0);
}

bool DecodeJpeg(const uint8_t* data, size_t size, TRgbImage& image, std::string* error) {
    if (data == nullptr || size < 4) {
        SetError(error, "no JPEG data");
        return false;
    }
    jpeg_decompress_struct info;
    ErrorManager manager;
    info.err = manager.Install();
    TRgbImage decoded;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        SetError(error, manager.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    // The size is checked before the decoder starts: a progressive picture has
    // the decoder take memory for all its coefficients as it starts.
    jpeg_calc_output_dimensions(&info);
    const int64_t pixels = int64_t{info.output_width} * info.output_height;
    if (pixels > MaxJpegPixels) {
        jpeg_destroy_decompress(&info);
        SetError(error, "JPEG picture too large");
        return false;
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        SetError(error, "unsupported JPEG colour space");
        return false;
    }
    decoded.Resize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = decoded.Pixel(0, static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    // A file cut short is reported as a warning only; treat it as damage.
    const bool damaged = manager.pub.num_warnings > 0;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (damaged) {
        SetError(error, "damaged JPEG data");
        return false;
    }
    image = std::move(decoded);
    return true;
}

bool DecodeJpegFile(const std::string& fileName, TRgbImage& image, std::string* error) {
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) {
        SetError(error, "cannot read the file");
        return false;
    }
    return DecodeJpeg(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image, error);
}

bool EncodeJpeg(const TRgbImage& image, int quality, std::vector<uint8_t>& out, std::string* error) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Rgb.size() != static_cast<size_t>(image.Width) * image.Height * 3) {
        SetError(error, "empty image");
        return false;
    }
    jpeg_compress_struct info;
    ErrorManager manager;
    info.err = manager.Install();
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    if (setjmp(manager.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        SetError(error, manager.message);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = static_cast<JDIMENSION>(image.Width);
    info.image_height = static_cast<JDIMENSION>(image.Height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(image.Pixel(0, static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    out.assign(buffer, buffer + length);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return true;
}

} // namespace zeko
