#include "app/mrvmain.h"

#include "platform/exceptions.h"

#include <QIcon>

#include <optional>

TForm1 *Form1 = nullptr;

namespace {

struct TStoredSetting {
    const char *Name;
    TValueType Type;
    const char *Default; // none for "pfad"
};

// The program's stored settings, in the store's order.
const TStoredSetting StoredSettings[] = {
    {"pfad", vtString, nullptr}, {"version", vtString, "2.3"}, {"top", vtInteger, "20"},
    {"left", vtString, "20"},    {"auto", vtBoolean, "FALSE"}, {"ontop", vtBoolean, "FALSE"},
    {"pos", vtBoolean, "FALSE"}, {"formel", vtInteger, "0"},
};

} // namespace

TForm1::TForm1(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form1 = this;
    // A stored setting of the wrong data type must not stop the start: it keeps its default
    // (written back with the right type at the end) and the first such error is reported.
    std::optional<ERegistryException> settingsError;
    ReadLayout(*this, [&] {
        SetName(QStringLiteral("Form1"));
        setWindowTitle(QStringLiteral("Tarvo 2.3 Freeware"));
        setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(635, 40);
        QIcon icon;
        for (const char *size : {"16", "32", "48"})
            icon.addFile(QStringLiteral(":/artwork/tarvo_%1.png").arg(QLatin1String(size)));
        setWindowIcon(icon);
        autrun = std::make_unique<TAutoRun>(this);
        autrun->SetName(QStringLiteral("autrun"));
        autrun->SetKind(aekUserRun);
        regval = std::make_unique<TRegValues>(this);
        regval->SetName(QStringLiteral("regval"));
        regval->SetRootKey(rkHKEY_CURRENT_USER);
        regval->SetKey(QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo"));
        regval->SetCanCreate(true);
        regval->SetAutoLoad(true);
        regval->SetAutoSave(true);
        for (const TStoredSetting &setting : StoredSettings) {
            TRegValue &value = regval->Items().Add();
            value.SetValueType(setting.Type);
            if (setting.Default) value.SetDefValue(QString::fromLatin1(setting.Default));
            try {
                value.SetValueName(QString::fromLatin1(setting.Name));
            } catch (const ERegistryException &error) {
                value.SetCurrentValue(value.Default());
                if (!settingsError) settingsError = error;
            }
            value.SetAutoStore(true);
        }
        OneInstance1 = std::make_unique<TOneInstance>(this);
        OneInstance1->SetName(QStringLiteral("OneInstance1"));
    });
    if (settingsError) ReportException(*settingsError);
    FormCreate();
}

TForm1::~TForm1() {
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormCreate() {}
