#include "app/mrvmain.h"
#include "editors/dateutil.h"
#include "platform/application.h"

int main(int argc, char *argv[]) {
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo 2.0"));
    LocaleFourDigitYear(); // fixed by the locale at start, before any date field exists
    TForm1 form;
    if (app.ShowMainForm())
        form.show();
    if (app.Terminated())
        return 0;
    return app.exec();
}
