// GIF through giflib, record by record rather than DGifSlurp, so that every size is checked
// before memory is taken and only the first image is decoded.

#include "pictures/decoders_p.h"
#include "pictures/picture.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

struct MemoryReader {
    const QByteArray *Data;
    qsizetype Pos = 0;
};

int ReadMemory(GifFileType *gif, GifByteType *buffer, int length) {
    auto *reader = static_cast<MemoryReader *>(gif->UserData);
    const qsizetype n = std::min<qsizetype>(length, reader->Data->size() - reader->Pos);
    std::memcpy(buffer, reader->Data->constData() + reader->Pos, size_t(n));
    reader->Pos += n;
    return int(n);
}

[[noreturn]] void Fail(const QString &what) {
    throw EInvalidGraphic(Exception::Format(QStringLiteral("Ungültiges GIF-Bild: %s"), {what}));
}

[[noreturn]] void FailGiflib(int code) {
    const char *text = GifErrorString(code);
    Fail(text ? QString::fromLatin1(text) : QString::number(code));
}

struct GifCloser {
    void operator()(GifFileType *gif) const {
        int ignored;
        DGifCloseFile(gif, &ignored);
    }
};

QRgb ColorAt(const ColorMapObject *map, int index) {
    const GifColorType &c = map->Colors[index];
    return qRgb(c.Red, c.Green, c.Blue);
}

// Reads an extension; the transparent index of a graphics control block, unchanged otherwise.
void ReadExtension(GifFileType *gif, int &transparentIndex) {
    int code;
    GifByteType *block;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) FailGiflib(gif->Error);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        transparentIndex = (block[1] & 1) ? block[4] : -1;
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) FailGiflib(gif->Error);
    }
}

// The image's colour indexes, rows in order whether stored interlaced or not.
std::vector<GifPixelType> ReadPixels(GifFileType *gif) {
    const GifImageDesc &desc = gif->Image;
    std::vector<GifPixelType> pixels(size_t(desc.Width) * size_t(desc.Height));
    auto row = [&](int y) { return pixels.data() + size_t(y) * size_t(desc.Width); };
    auto read = [&](int y) {
        if (DGifGetLine(gif, row(y), desc.Width) == GIF_ERROR) FailGiflib(gif->Error);
    };
    if (desc.Interlace) {
        static constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < desc.Height; y += step[pass])
                read(y);
    } else {
        for (int y = 0; y < desc.Height; ++y)
            read(y);
    }
    return pixels;
}

QImage NewImage(int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    if (image.isNull()) Fail(QStringLiteral("zu wenig Speicher"));
    return image;
}

// The picture is the logical screen; what the first image leaves uncovered shows the
// background colour, or nothing when the image has a transparent colour.
TDecodedPicture Compose(const GifFileType *gif, const ColorMapObject *map,
                        const std::vector<GifPixelType> &pixels, int transparentIndex) {
    const GifImageDesc &desc = gif->Image;
    const bool hasTransparent = transparentIndex >= 0 && transparentIndex < map->ColorCount;
    QRgb background = qRgb(255, 255, 255);
    if (gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount)
        background = ColorAt(gif->SColorMap, gif->SBackGroundColor);
    TDecodedPicture result;
    result.Image = NewImage(gif->SWidth, gif->SHeight, QImage::Format_RGB32);
    result.Image.fill(hasTransparent ? ColorAt(map, transparentIndex) : background);
    QImage mask;
    if (hasTransparent) {
        mask = NewImage(gif->SWidth, gif->SHeight, QImage::Format_ARGB32_Premultiplied);
        mask.fill(Qt::transparent);
    }
    for (int y = 0; y < desc.Height && desc.Top + y < gif->SHeight; ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.Image.scanLine(desc.Top + y));
        auto *maskLine =
            hasTransparent ? reinterpret_cast<QRgb *>(mask.scanLine(desc.Top + y)) : nullptr;
        for (int x = 0; x < desc.Width && desc.Left + x < gif->SWidth; ++x) {
            const int index = pixels[size_t(y) * size_t(desc.Width) + size_t(x)];
            if (index >= map->ColorCount)
                Fail(QStringLiteral("Farbindex außerhalb der Farbtabelle"));
            line[desc.Left + x] = ColorAt(map, index);
            if (maskLine && index != transparentIndex)
                maskLine[desc.Left + x] = line[desc.Left + x];
        }
    }
    if (hasTransparent) {
        result.Masked = mask;
        result.TransparentColor = ColorAt(map, transparentIndex);
    }
    return result;
}

} // namespace

TDecodedPicture DecodeGif(const QByteArray &data) {
    MemoryReader reader{&data};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadMemory, &error));
    if (!gif) FailGiflib(error);
    CheckPictureSize(gif->SWidth, gif->SHeight, "GIF");

    int transparentIndex = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) FailGiflib(gif->Error);
        if (type == TERMINATE_RECORD_TYPE) Fail(QStringLiteral("kein Bild enthalten"));
        if (type == EXTENSION_RECORD_TYPE) ReadExtension(gif.get(), transparentIndex);
        if (type != IMAGE_DESC_RECORD_TYPE) continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) FailGiflib(gif->Error);
        const GifImageDesc &desc = gif->Image;
        CheckPictureSize(desc.Width, desc.Height, "GIF");
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!map) Fail(QStringLiteral("keine Farbtabelle"));
        return Compose(gif.get(), map, ReadPixels(gif.get()), transparentIndex);
    }
}
