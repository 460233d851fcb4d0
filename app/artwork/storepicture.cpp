// A build step: decodes one of the program's pictures with TPicture and writes its stored form
// (pictures/storedpicture.h), which the program then shows without decoding.
// Usage: tarvo_store_picture <picture> <stored form>

#include "pictures/storedpicture.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char *argv[]) {
    const QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: tarvo_store_picture <picture> <stored form>\n");
        return 2;
    }
    try {
        const QByteArray stored = StorePicture(TPicture::FromFile(arguments[1]));
        QSaveFile out(arguments[2]);
        if (!out.open(QIODevice::WriteOnly) || out.write(stored) != stored.size() ||
            !out.commit()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(arguments[2]),
                         qPrintable(out.errorString()));
            return 1;
        }
    } catch (const Exception &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
        return 1;
    }
    return 0;
}
