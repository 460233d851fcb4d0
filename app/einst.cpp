#include "app/einst.h"

TForm3 *Form3 = nullptr;

TForm3::TForm3(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form3 = this;
    ReadLayout(*this, [&] {
        SetName(QStringLiteral("Form3"));
        setWindowTitle(QStringLiteral("Tarvo Einstellungen"));
        setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(300, 263);
    });
    // Closing it hides it; only the bar ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

TForm3::~TForm3() {
    if (Form3 == this) Form3 = nullptr;
}
