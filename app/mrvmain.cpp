#include "app/mrvmain.h"

TForm1 *Form1 = nullptr;

TForm1::TForm1(QWidget *parent) : QWidget(parent), TComponent(nullptr) {
    Form1 = this;
    ReadLayout(*this, [this] {
        SetName(QStringLiteral("Form1"));
        setWindowTitle(QStringLiteral("Tarvo 2.3 Freeware"));
        setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        setFixedSize(635, 40);
        autrun = std::make_unique<TAutoRun>(this);
        autrun->SetName(QStringLiteral("autrun"));
        autrun->SetKind(aekUserRun);
        OneInstance1 = std::make_unique<TOneInstance>(this);
        OneInstance1->SetName(QStringLiteral("OneInstance1"));
    });
    FormCreate();
}

TForm1::~TForm1() {
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate() {}
