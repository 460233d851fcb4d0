#include "app/mrvmain.h"
#include "editors/dateutil.h"
#include "platform/application.h"
#include "platform/termination.h"

int main(int argc, char *argv[]) {
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo 2.0"));
    // Before any window exists, so that a stop request always ends in an orderly way.
    QuitOnTerminationRequest();
    LocaleFourDigitYear(); // fixed by the locale at start, before any date field exists
    TForm1 form;
    if (app.ShowMainForm()) form.show();
    if (app.Terminated()) return 0;
    return app.exec();
}
