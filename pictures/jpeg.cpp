// JPEG through libjpeg. libjpeg reports fatal errors by calling back; the callback jumps out
// of the decoding function, which keeps no C++ object of its own alive across the jump.
// libjpeg merely warns about damaged or truncated data and goes on with made-up pixels; a
// warning is treated as a failure here.

#include "pictures/decoders_p.h"
#include "pictures/picture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Progressive files may repeat scans without end; real pictures need far fewer.
constexpr int MaxScans = 256;

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
    bool Warned;
};

void OnError(j_common_ptr info) {
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    info->err->format_message(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    if (level < 0 && !manager->Warned) {
        info->err->format_message(info, manager->Message);
        manager->Warned = true;
    }
}

void OnProgress(j_common_ptr info) {
    auto *decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans) {
        auto *manager = reinterpret_cast<ErrorManager *>(info->err);
        std::snprintf(manager->Message, sizeof manager->Message, "too many scans");
        std::longjmp(manager->Jump, 1);
    }
}

enum class Outcome { Ok, Failed, TooLarge };

// Fills *image; on failure manager->Message says why. Holds no C++ objects itself.
Outcome Decode(j_decompress_ptr info, ErrorManager *manager, const QByteArray *data,
               QImage *image) {
    if (setjmp(manager->Jump)) return Outcome::Failed;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char *>(data->constData()),
                 static_cast<unsigned long>(data->size()));
    jpeg_read_header(info, TRUE);
    if (info->image_width == 0 || info->image_height == 0 ||
        info->image_width > unsigned(MaxPictureSide) ||
        info->image_height > unsigned(MaxPictureSide) ||
        qint64(info->image_width) * info->image_height > MaxPicturePixels)
        return Outcome::TooLarge;
    info->out_color_space = JCS_EXT_BGRX; // the byte order of QImage::Format_RGB32
    jpeg_start_decompress(info);
    *image = QImage(int(info->output_width), int(info->output_height), QImage::Format_RGB32);
    if (image->isNull()) {
        std::snprintf(manager->Message, sizeof manager->Message, "out of memory");
        return Outcome::Failed;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(int(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return manager->Warned ? Outcome::Failed : Outcome::Ok;
}

} // namespace

QImage DecodeJpeg(const QByteArray &data) {
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.Base);
    manager.Base.error_exit = OnError;
    manager.Base.emit_message = OnMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = OnProgress;
    info.progress = &progress;
    QImage image;
    const Outcome outcome = Decode(&info, &manager, &data, &image);
    const unsigned width = info.image_width, height = info.image_height;
    jpeg_destroy_decompress(&info);
    switch (outcome) {
    case Outcome::Ok:
        return image;
    case Outcome::TooLarge:
        CheckPictureSize(width, height, "JPEG");
        break;
    case Outcome::Failed:
        break;
    }
    throw EInvalidGraphic(Exception::Format(QStringLiteral("Ungültiges JPEG-Bild: %s"),
                                            {QString::fromLocal8Bit(manager.Message)}));
}
