// The yardstick for the start-up benchmark: the least Qt Widgets program with a window of the
// bar's size and kind that shows a line of text, built like the program itself.

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Betrag  Zinszeitraum / Zinstage  Zinssatz  Zinsbetrag"), nullptr,
                  Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(QStringLiteral("Tarvo 2.3 Freeware"));
    window.setFixedSize(635, 40);
    window.show();
    return app.exec();
}
