// Draws the program's pictures: the two backgrounds (JPEG), the slanted picture buttons
// (BMP, the Info button's normal picture GIF), the date glyph (16-colour BMP), the calendar
// step glyphs (monochrome BMP) and the program icon (PNG, and SVG for any size).
// Usage: tarvo_artwork <output folder>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

namespace {

QString OutDir;

[[noreturn]] void Die(const std::string &what) {
    throw std::runtime_error(what);
}

QString OutPath(const QString &name) {
    return OutDir + u'/' + name;
}

void WriteFile(const QString &name, const QByteArray &bytes) {
    QFile file(OutPath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        Die("cannot write " + name.toStdString());
}

// ---- writers --------------------------------------------------------------------------

template <typename T> void Put(QByteArray &out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Bottom-up BMP with a 40-byte header. For 1 and 4 bits pixel(x, y) gives a palette index,
// for 24 bits an RGB value.
QByteArray Bmp(int width, int height, int bits, const std::vector<QRgb> &palette,
               const std::function<quint32(int, int)> &pixel) {
    const int rowBytes = (width * bits + 31) / 32 * 4;
    const quint32 offset = 14 + 40 + quint32(palette.size()) * 4;
    QByteArray out;
    out.append("BM");
    Put<quint32>(out, offset + quint32(rowBytes * height));
    Put<quint32>(out, 0);
    Put<quint32>(out, offset);
    Put<quint32>(out, 40);
    Put<qint32>(out, width);
    Put<qint32>(out, height);
    Put<quint16>(out, 1);
    Put<quint16>(out, quint16(bits));
    Put<quint32>(out, 0);
    Put<quint32>(out, quint32(rowBytes * height));
    Put<qint32>(out, 3780); // 96 dpi
    Put<qint32>(out, 3780);
    Put<quint32>(out, quint32(palette.size()));
    Put<quint32>(out, 0);
    for (QRgb c : palette) {
        out.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const quint32 v = pixel(x, y);
            if (bits == 24) {
                row[x * 3] = char(qBlue(v));
                row[x * 3 + 1] = char(qGreen(v));
                row[x * 3 + 2] = char(qRed(v));
            } else if (bits == 4) {
                row[x / 2] = char(row[x / 2] | (x % 2 ? v : v << 4));
            } else {
                if (v) row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

void WriteBmp24(const QString &name, const QImage &image) {
    WriteFile(name, Bmp(image.width(), image.height(), 24, {},
                        [&](int x, int y) { return quint32(image.pixel(x, y)); }));
}

void WriteGif(const QString &name, const QImage &image) {
    std::vector<QRgb> colors;
    std::map<QRgb, int> index;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000;
            if (!index.count(c)) {
                index[c] = int(colors.size());
                colors.push_back(c);
            }
        }
    if (colors.size() > 256) Die("too many colours for " + name.toStdString());
    int mapSize = 2;
    while (mapSize < int(colors.size()))
        mapSize *= 2;
    std::vector<GifColorType> entries(size_t(mapSize), GifColorType{0, 0, 0});
    for (size_t i = 0; i < colors.size(); ++i)
        entries[i] = GifColorType{GifByteType(qRed(colors[i])), GifByteType(qGreen(colors[i])),
                                  GifByteType(qBlue(colors[i]))};
    ColorMapObject *map = GifMakeMapObject(mapSize, entries.data());
    int error = 0;
    const QByteArray path = QFile::encodeName(OutPath(name));
    GifFileType *gif = EGifOpenFileName(path.constData(), false, &error);
    if (!gif || !map) Die("cannot write " + name.toStdString());
    EGifSetGifVersion(gif, true); // the transparent entry needs the 89a extension
    bool ok = EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) != GIF_ERROR;
    // The white corner is the GIF's transparent entry, so that drawn transparent it vanishes
    // like the corners of the bitmap pictures.
    const int corner = index[image.pixel(0, image.height() - 1) | 0xFF000000];
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, corner};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok = ok && EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_ERROR &&
         EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) != GIF_ERROR;
    std::vector<GifPixelType> line(size_t(image.width()));
    for (int y = 0; ok && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            line[size_t(x)] = GifPixelType(index[image.pixel(x, y) | 0xFF000000]);
        ok = EGifPutLine(gif, line.data(), image.width()) != GIF_ERROR;
    }
    ok = EGifCloseFile(gif, &error) != GIF_ERROR && ok;
    GifFreeMapObject(map);
    if (!ok) Die("giflib failed on " + name.toStdString());
}

void WriteJpeg(const QString &name, const QImage &source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error); // exits the tool on failure, which suits a tool
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    for (int c = 0; c < 3; ++c) // no chroma subsampling: keeps the watermark's edges clean
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    WriteFile(name, QByteArray(reinterpret_cast<const char *>(buffer), qsizetype(size)));
    std::free(buffer);
}

// ---- drawing helpers ------------------------------------------------------------------

QColor Mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QFont BoldSans(int pixelSize, bool italic = false) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// ---- buttons --------------------------------------------------------------------------

constexpr int ButtonHeight = 15;
constexpr int Slant = 7; // width of the white triangle at the bottom-left

struct Scheme {
    QColor Face;
};

enum class State { Normal, Hover, Down };

// First face pixel of row y: the left edge runs from the top-left corner down to (Slant, H).
int RowStart(int y) {
    return (2 * y + 1) * Slant / (2 * ButtonHeight);
}

QImage Button(int width, const QString &word, Scheme scheme, State state) {
    const QColor white(255, 255, 255);
    QColor face = scheme.Face;
    if (state == State::Hover) face = Mix(face, white, 0.22);
    if (state == State::Down) face = Mix(face, QColor(0, 0, 0), 0.25);
    const QColor light = Mix(face, white, 0.45), dark = Mix(face, QColor(0, 0, 0), 0.45);
    const QColor topEdge = state == State::Down ? dark : light;
    const QColor bottomEdge = state == State::Down ? light : dark;

    QImage image(width, ButtonHeight, QImage::Format_RGB32);
    image.fill(white);
    for (int y = 0; y < ButtonHeight; ++y) {
        const int x0 = RowStart(y);
        for (int x = x0; x < width; ++x) {
            QColor c = face;
            // A soft vertical sheen keeps the flat colour from looking dull.
            c = Mix(c, white, 0.10 * (1.0 - double(y) / ButtonHeight));
            if (y == 0 || x == x0) c = topEdge;
            if (y == ButtonHeight - 1 || x == width - 1) c = bottomEdge;
            image.setPixelColor(x, y, c);
        }
    }
    if (state == State::Hover) // a thin inner glow marks the pointer
        for (int x = RowStart(1) + 1; x < width - 1; ++x)
            image.setPixelColor(x, 1, Mix(face, white, 0.7));

    QPainter p(&image);
    p.setFont(BoldSans(11));
    const QColor text(250, 250, 238);
    const int shift = state == State::Down ? 1 : 0;
    QRect area(Slant / 2 + shift, shift, width - Slant / 2, ButtonHeight);
    p.setPen(Mix(face, QColor(0, 0, 0), 0.5));
    p.drawText(area.translated(1, 1), Qt::AlignCenter, word);
    p.setPen(text);
    p.drawText(area, Qt::AlignCenter, word);
    p.end();
    // Pure white marks the see-through corner; the face must never contain it.
    for (int y = 0; y < ButtonHeight; ++y)
        for (int x = RowStart(y); x < width; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                image.setPixel(x, y, qRgb(254, 254, 254));
    return image;
}

void ButtonSet(const QString &stem, int width, const QString &word, Scheme scheme,
               bool gifNormal = false) {
    const QImage normal = Button(width, word, scheme, State::Normal);
    if (gifNormal)
        WriteGif(stem + ".gif", normal);
    else
        WriteBmp24(stem + ".bmp", normal);
    WriteBmp24(stem + "_hover.bmp", Button(width, word, scheme, State::Hover));
    WriteBmp24(stem + "_down.bmp", Button(width, word, scheme, State::Down));
}

// ---- backgrounds ----------------------------------------------------------------------

const QColor PaleOlive(226, 224, 196);

void Watermark(QPainter &p, QSize size, int pixelSize, double angle, int stepX, int stepY,
               QColor color) {
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(BoldSans(pixelSize, true));
    p.setPen(color);
    p.translate(size.width() / 2.0, size.height() / 2.0);
    p.rotate(angle);
    const int reach = size.width() + size.height();
    for (int row = -reach / stepY; row <= reach / stepY; ++row)
        for (int x = -reach; x <= reach; x += stepX)
            p.drawText(QPoint(x + (row % 2 ? stepX / 2 : 0), row * stepY), QStringLiteral("Tarvo"));
    p.restore();
}

QImage Gradient(QSize size, QColor top, QColor bottom) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const QColor c = Mix(top, bottom, double(y) / std::max(1, size.height() - 1));
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, c);
    }
    return image;
}

void BarBackground() {
    const QSize size(635, 40);
    QImage image = Gradient(size, Mix(PaleOlive, Qt::white, 0.25), Mix(PaleOlive, Qt::black, 0.06));
    QPainter p(&image);
    Watermark(p, size, 13, 0, 86, 19, Mix(PaleOlive, Qt::black, 0.045));

    // The tab that carries the upper buttons: it rises from the bar at the right, with the
    // same slant as the buttons.
    const int tabLeft = 458, tabBottom = 18;
    QPolygon tab;
    tab << QPoint(tabLeft, 0) << QPoint(635, 0) << QPoint(635, tabBottom)
        << QPoint(tabLeft + tabBottom / 2, tabBottom);
    const QColor tabColor = Mix(PaleOlive, QColor(128, 128, 0), 0.28);
    p.setPen(Qt::NoPen);
    p.setBrush(tabColor);
    p.drawPolygon(tab);
    p.setPen(Mix(tabColor, Qt::black, 0.25));
    p.drawLine(tabLeft, 0, tabLeft + tabBottom / 2, tabBottom);
    p.drawLine(tabLeft + tabBottom / 2, tabBottom, 634, tabBottom);
    p.setPen(Mix(tabColor, Qt::white, 0.35));
    p.drawLine(tabLeft + 1, 0, 634, 0);

    p.setPen(Mix(PaleOlive, Qt::black, 0.30)); // frame of the bar
    p.drawLine(0, 39, 634, 39);
    p.setPen(Mix(PaleOlive, Qt::white, 0.6));
    p.drawLine(0, 0, tabLeft - 1, 0);
    p.end();
    WriteJpeg(QStringLiteral("bar_background.jpg"), image);
}

void DialogBackground() {
    const QSize size(300, 200);
    QImage image = Gradient(size, Mix(PaleOlive, Qt::white, 0.35), Mix(PaleOlive, Qt::black, 0.04));
    QPainter p(&image);
    Watermark(p, size, 18, -18, 90, 30, Mix(PaleOlive, Qt::black, 0.035));
    p.end();
    WriteJpeg(QStringLiteral("dialog_background.jpg"), image);
}

// ---- glyphs ---------------------------------------------------------------------------

// The sixteen colours of the classic 4-bit palette, in their usual order.
const std::vector<QRgb> Palette16 = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

// A calendar sheet showing 15; '.' is the magenta see-through colour.
const char *const Sheet[12] = {
    "....k....k....", //
    ".kkkkkkkkkkkk.", //
    ".krrrrrrrrrrk.", //
    ".krrrrrrrrrrk.", //
    ".kwwwwwwwwwwk.", //
    ".kwwbwwbbbwwks", //
    ".kwbbwwbwwwwks", //
    ".kwwbwwbbwwwks", //
    ".kwwbwwwwbwwks", //
    ".kwbbbwbbwwwks", //
    ".kwwwwwwwwwwks", //
    ".kkkkkkkkkkkks", //
};

void DateGlyph() {
    // Palette indices for the normal and the greyed image.
    const std::map<char, int> normal = {{'.', 13}, {'k', 0}, {'r', 1},
                                        {'w', 15}, {'b', 4}, {'s', 8}};
    const std::map<char, int> greyed = {{'.', 13}, {'k', 8}, {'r', 7},
                                        {'w', 15}, {'b', 8}, {'s', 7}};
    WriteFile(QStringLiteral("dateglyph.bmp"), Bmp(28, 12, 4, Palette16, [&](int x, int y) {
                  const char c = Sheet[y][x % 14];
                  return quint32((x < 14 ? normal : greyed).at(c));
              }));
}

void StepGlyph(const QString &name, const char *const rows[6]) {
    // Index 0 black, 1 white: the see-through colour, so the bottom-left pixel stays white.
    WriteFile(name, Bmp(8, 6, 1, {qRgb(0, 0, 0), qRgb(255, 255, 255)},
                        [&](int x, int y) { return quint32(rows[y][x] == '#' ? 0 : 1); }));
}

void StepGlyphs() {
    const char *const prev2[6] = {"........", "...#...#", "..##..##",
                                  ".###.###", "..##..##", "...#...#"};
    const char *const prev1[6] = {"........", "....#...", "...##...",
                                  "..###...", "...##...", "....#..."};
    const char *const next1[6] = {"........", "...#....", "...##...",
                                  "...###..", "...##...", "...#...."};
    const char *const next2[6] = {"........", ".#...#..", ".##..##.",
                                  ".###.###", ".##..##.", ".#...#.."};
    StepGlyph(QStringLiteral("prev2.bmp"), prev2);
    StepGlyph(QStringLiteral("prev1.bmp"), prev1);
    StepGlyph(QStringLiteral("next1.bmp"), next1);
    StepGlyph(QStringLiteral("next2.bmp"), next2);
}

// ---- icon -----------------------------------------------------------------------------

void Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 32.0;
    QPainterPath tab; // the buttons' slanted tab shape
    tab.moveTo(1 * s, 3 * s);
    tab.lineTo(31 * s, 3 * s);
    tab.lineTo(31 * s, 29 * s);
    tab.lineTo(9 * s, 29 * s);
    tab.closeSubpath();
    QLinearGradient fill(0, 3 * s, 0, 29 * s);
    fill.setColorAt(0, QColor(67, 160, 71));
    fill.setColorAt(1, QColor(27, 94, 32));
    p.setPen(QPen(QColor(20, 70, 24), std::max(1.0, s)));
    p.setBrush(fill);
    p.drawPath(tab);
    p.setPen(QColor(250, 250, 238));
    p.setFont(BoldSans(int(22 * s)));
    p.drawText(QRectF(7 * s, 3 * s, 24 * s, 26 * s), Qt::AlignCenter, QStringLiteral("%"));
    p.end();
    if (!image.save(OutPath(QStringLiteral("tarvo_%1.png").arg(size)))) Die("cannot write icon");
    // The same pixels raw, for the window's icon: 32-bit words, premultiplied, little-endian.
    const QImage raw = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QFile pixels(OutPath(QStringLiteral("tarvo_%1.argb").arg(size)));
    if (!pixels.open(QIODevice::WriteOnly)) Die("cannot write icon");
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const quint32 word = qToLittleEndian<quint32>(
                reinterpret_cast<const quint32 *>(raw.constScanLine(y))[x]);
            pixels.write(reinterpret_cast<const char *>(&word), sizeof word);
        }
}

// Path data in SVG syntax, coordinates rounded to 1/100.
QString SvgPath(const QPainterPath &path) {
    QString d;
    const auto num = [](double v) { return QString::number(v, 'f', 2); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (!d.isEmpty()) d += QStringLiteral("Z ");
            d += QStringLiteral("M%1 %2 ").arg(num(e.x), num(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2 ").arg(num(e.x), num(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), to = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6 ")
                     .arg(num(e.x), num(e.y), num(c2.x), num(c2.y), num(to.x), num(to.y));
            i += 2;
        }
    }
    return d + u'Z';
}

// The icon for any size: the same tab and "%" as the bitmaps, the glyph as an outline so that
// the picture needs no font.
void IconSvg() {
    QPainterPath tab;
    tab.moveTo(1, 3);
    tab.lineTo(31, 3);
    tab.lineTo(31, 29);
    tab.lineTo(9, 29);
    tab.closeSubpath();
    QPainterPath glyph;
    const QFont font = BoldSans(22);
    const QRectF box(7, 3, 24, 26);
    const QRectF bounds =
        QFontMetricsF(font).boundingRect(box, Qt::AlignCenter, QStringLiteral("%"));
    glyph.addText(bounds.left(), bounds.top() + QFontMetricsF(font).ascent(), font,
                  QStringLiteral("%"));
    const QString svg =
        QStringLiteral(
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
            "viewBox=\"0 0 32 32\">\n"
            "  <defs><linearGradient id=\"fill\" x1=\"0\" y1=\"3\" x2=\"0\" y2=\"29\" "
            "gradientUnits=\"userSpaceOnUse\"><stop offset=\"0\" stop-color=\"#43a047\"/>"
            "<stop offset=\"1\" stop-color=\"#1b5e20\"/></linearGradient></defs>\n"
            "  <path d=\"%1\" fill=\"url(#fill)\" stroke=\"#144618\" stroke-width=\"1\"/>\n"
            "  <path d=\"%2\" fill=\"#fafaee\"/>\n"
            "</svg>\n")
            .arg(SvgPath(tab), SvgPath(glyph));
    WriteFile(QStringLiteral("tarvo.svg"), svg.toUtf8());
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    OutDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(OutDir)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans"))) {
        std::fprintf(stderr, "font Liberation Sans missing (fonts-liberation2)\n");
        return 1;
    }
    try {
        BarBackground();
        DialogBackground();
        const Scheme green{QColor(46, 125, 50)}, red{QColor(183, 28, 28)},
            olive{QColor(118, 118, 18)};
        ButtonSet(QStringLiteral("btn_berechnen"), 102, QStringLiteral("Berechnen"), green);
        ButtonSet(QStringLiteral("btn_ende"), 45, QStringLiteral("Ende"), red);
        ButtonSet(QStringLiteral("btn_einstellungen"), 118, QStringLiteral("Einstellungen"), olive);
        ButtonSet(QStringLiteral("btn_info"), 45, QStringLiteral("Info"), olive, true);
        ButtonSet(QStringLiteral("btn_speichern"), 94, QStringLiteral("Speichern"), olive);
        ButtonSet(QStringLiteral("btn_schliessen"), 94, QStringLiteral("Schließen"), olive);
        DateGlyph();
        StepGlyphs();
        for (int size : {16, 32, 48})
            Icon(size);
        IconSvg();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
