#include "app/einst.h"
#include "app/info.h"
#include "app/mrvmain.h"
#include "editors/dateutil.h"
#include "platform/application.h"
#include "platform/termination.h"
#include "platform/wayland.h"

#include <QGuiApplication>

int main(int argc, char *argv[]) {
    PreferX11UnderWayland();
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo 2.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvo")); // the menu entry's name and icon
    // Before any window exists, so that a stop request always ends in an orderly way.
    QuitOnTerminationRequest();
    LocaleFourDigitYear(); // fixed by the locale at start, before any date field exists
    // The first window created is the main window; the dialogs stay hidden until asked for.
    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    // A copy that ends at once (a second copy, a stop request during the start) shows nothing.
    if (app.Terminated()) return 0;
    if (app.ShowMainForm()) form1.show();
    return app.exec();
}
