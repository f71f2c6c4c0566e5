#include "bench/decoder_limit.h"

#include <QElapsedTimer>
#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <memory>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {
struct ErrorExit {
    jpeg_error_mgr manager;
    jmp_buf back;
};
void errorExit(j_common_ptr info) { longjmp(reinterpret_cast<ErrorExit*>(info->err)->back, 1); }
}  // namespace

LibjpegDecode libjpegDecode(const QString& path, QSize covering) {
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(path));
    const QByteArray bytes = file.readAll();

    jpeg_decompress_struct info;
    ErrorExit error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = errorExit;
    if (setjmp(error.back)) qFatal("libjpeg cannot decode %s", qPrintable(path));
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    LibjpegDecode result;
    if (covering.isValid()) {
        // The smallest n/8 whose output is at least the size in both directions.
        for (int n = 1; n <= 8; ++n) {
            if ((info.image_width * n + 7) / 8 >= unsigned(covering.width()) &&
                (info.image_height * n + 7) / 8 >= unsigned(covering.height())) {
                result.eighths = n;
                break;
            }
        }
    }
    info.scale_num = result.eighths;
    info.scale_denom = 8;
    info.out_color_space = JCS_EXT_BGRX;  // the layout of a 32-bit picture in memory
    jpeg_start_decompress(&info);
    const unsigned stride = info.output_width * 4;
    // Not zeroed: a decoder writes every pixel once, as into a fresh QImage.
    const std::unique_ptr<unsigned char[]> pixels(
        new unsigned char[size_t(stride) * info.output_height]);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.get() + size_t(stride) * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    result.output = QSize(int(info.output_width), int(info.output_height));
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    result.seconds = double(timer.nsecsElapsed()) / 1e9;
    return result;
}
