#include "app/mrvmain.h"
#include "platform/application.h"

int main(int argc, char *argv[]) {
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo 2.0"));
    TForm1 form;
    if (app.ShowMainForm())
        form.show();
    if (app.Terminated())
        return 0;
    return app.exec();
}
