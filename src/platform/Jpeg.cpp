#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr) {}

} // namespace

QByteArray EncodeJpeg(const RgbImage& image, int quality, QString* error) {
    if (image.IsNull() ||
        image.pixels.size() < static_cast<size_t>(image.width) * image.height * 3) {
        if (error)
            *error = QStringLiteral("图像是空的");
        return {};
    }
    jpeg_compress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.output_message = onMessage;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(manager.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        if (error)
            *error = QString::fromLocal8Bit(manager.message);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            &image.pixels[static_cast<size_t>(info.next_scanline) * image.width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

bool DecodeJpeg(const QByteArray& bytes, RgbImage& image, QString* error) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.output_message = onMessage;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&info);
        if (error)
            *error = QString::fromLocal8Bit(manager.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    RgbImage out;
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.pixels.resize(static_cast<size_t>(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.pixels[static_cast<size_t>(info.output_scanline) * out.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    image = std::move(out);
    return true;
}
