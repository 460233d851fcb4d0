#include "app/info.h"

TForm2 *Form2 = nullptr;

TForm2::TForm2(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form2 = this;
    ReadLayout(*this, [&] {
        SetName(QStringLiteral("Form2"));
        setWindowTitle(QStringLiteral("Info"));
        setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(300, 200);
    });
    // Closing it hides it; only the bar ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

TForm2::~TForm2() {
    if (Form2 == this) Form2 = nullptr;
}
