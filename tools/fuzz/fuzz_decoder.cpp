// Feeds arbitrary bytes to one decoder; the signature is forced so that every input reaches
// it. A decoder may refuse the input (EInvalidGraphic) but must not crash, hang or leak.

#include "pictures/picture.h"

#include <QPainter>

#include <cstddef>
#include <cstdint>

namespace {
#if defined(FUZZ_BMP)
const QByteArray Signature("BM");
#elif defined(FUZZ_GIF)
const QByteArray Signature("GIF89a");
#else
const QByteArray Signature("\xFF\xD8\xFF");
#endif
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!bytes.startsWith(Signature)) bytes.prepend(Signature);
    TPicture picture;
    try {
        picture.LoadFromData(bytes);
    } catch (const EInvalidGraphic &) {
        return 0;
    }
    // A loaded picture must be whole: drawing it touches every pixel.
    QImage target(picture.Size(), QImage::Format_RGB32);
    QPainter painter(&target);
    picture.Draw(painter, QPoint(0, 0), true);
    return 0;
}
