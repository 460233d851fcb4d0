// A bare window guarded against second copies by its program path, so that the same program
// copied into two folders counts as two programs.

#include "platform/gui/application.h"
#include "platform/gui/systemdesktop.h"
#include "platform/core/systemservices.h"
#include "settings/oneinstance.h"

#include <QWidget>

namespace {

class ProbeForm : public QWidget, public TComponent {
public:
    ProbeForm() : TComponent(nullptr) {
        ReadLayout(*this, [this] {
            OneInstance1 = std::make_unique<TOneInstance>(this);
            OneInstance1->SetExeNameAsIdentifier(true);
        });
    }
    std::unique_ptr<TOneInstance> OneInstance1;
};

} // namespace

int main(int argc, char *argv[]) {
    TApplication app(argc, argv);
    TSystemDesktop desktop;
    TSystemServices services(desktop);
    const TServicesInUse inUse(services);
    app.SetTitle(QStringLiteral("Probe"));
    ProbeForm form;
    if (app.ShowMainForm()) form.show();
    if (app.Terminated()) return 0;
    return app.exec();
}
