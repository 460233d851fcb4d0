// Prints the text on the clipboard of the display it runs on.

#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
}
