// What a test of the whole program needs from the X display it runs on:
//   display_probe                       prints the text on the clipboard;
//   display_probe own TEXT              puts TEXT on the clipboard, says "owned" and keeps it
//                                       there until ended (X serves it from its owner);
//   display_probe grab WINDOW X Y W H   prints a digest of that part of the window's pixels;
//   display_probe shot WINDOW FILE      saves the whole window as a picture (PNG by its name);
//   display_probe count RRGGBB          prints how many pixels of the whole screen have exactly
//                                       that colour (what shows, whichever window it is of).

#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("own")) {
        QGuiApplication::clipboard()->setText(args[1]);
        std::puts("owned");
        std::fflush(stdout);
        return app.exec();
    }
    if (args.size() == 6 && args[0] == QLatin1String("grab")) {
        const QImage image = QGuiApplication::primaryScreen()
                                 ->grabWindow(WId(args[1].toULongLong()), args[2].toInt(),
                                              args[3].toInt(), args[4].toInt(), args[5].toInt())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QByteArray pixels(reinterpret_cast<const char *>(image.constBits()),
                                image.sizeInBytes());
        std::puts(QCryptographicHash::hash(pixels, QCryptographicHash::Md5).toHex().constData());
        return 0;
    }
    if (args.size() == 3 && args[0] == QLatin1String("shot"))
        return QGuiApplication::primaryScreen()
                       ->grabWindow(WId(args[1].toULongLong()))
                       .save(args[2])
                   ? 0
                   : 1;
    if (args.size() == 2 && args[0] == QLatin1String("count")) {
        const QRgb colour = 0xff000000u | args[1].toUInt(nullptr, 16);
        const QImage screen =
            QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
                QImage::Format_RGB32);
        long count = 0;
        for (int y = 0; y < screen.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
            count += std::count(line, line + screen.width(), colour);
        }
        std::printf("%ld\n", count);
        return 0;
    }
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
}
