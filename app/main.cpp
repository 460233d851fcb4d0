#include "app/bar/mrvmain.h"
#include "app/commandline.h"
#include "app/windows.h"
#include "dates/datetext.h"
#include "platform/core/systemservices.h"
#include "platform/core/wayland.h"
#include "platform/gui/application.h"
#include "platform/gui/fontconfiguration.h"
#include "platform/gui/systemdesktop.h"
#include "platform/gui/termination.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

QStringList RawArguments(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Qt's own texts (the file and print dialogs, "already exists … replace?", the fields' edit
// menu) in the program's language: German under a German locale, and under C or POSIX, where
// the program runs German too. Without the translations installed they stay English.
void LoadQtTranslations() {
    const QLocale::Language language = QLocale::system().language();
    if (language != QLocale::German && language != QLocale::C) return;
    static QTranslator translator;
    if (translator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

} // namespace

int main(int argc, char *argv[]) {
    if (const auto answer = AnswerWithoutWindow(RawArguments(argc, argv))) return Print(*answer);
    PreferX11UnderWayland();
    // Read while the application object starts; used before Qt reads it the slower way.
    TFontConfigurationLoad fonts;
    TApplication app(argc, argv);
    fonts.Use();
    TSystemDesktop desktop;
    TSystemServices services(desktop);
    const TServicesInUse inUse(services);
    if (const auto answer = RefuseUnknownArguments(QCoreApplication::arguments()))
        return Print(*answer);
    app.SetTitle(QStringLiteral("Tarvo 2.0"));
    LoadQtTranslations();
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvo")); // the menu entry's name and icon
    // Before any window exists, so that a stop request always ends in an orderly way.
    QuitOnTerminationRequest();
    LocaleFourDigitYear(); // fixed by the locale at start, before any date field exists
    // A copy that runs already opens the window for a second start.
    app.SetStartRequest(WindowAskedFor(QCoreApplication::arguments()));
    // The first window created is the main window; the dialogs are made when asked for.
    TForm1 form1;
    AddFurtherWindows(form1);
    // A copy that ends at once (a second copy, a stop request during the start) shows nothing.
    if (app.Terminated()) return 0;
    if (app.ShowMainForm()) {
        form1.show();
        form1.OpenWindow(app.StartRequest());
    }
    return app.exec();
}
