#pragma once
// The calculator bar: the program's main window.

#include "platform/component.h"
#include "settings/autorun.h"
#include "settings/oneinstance.h"
#include "settings/regvalues.h"

#include <QWidget>
#include <memory>

class TForm1 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The layout's components, in declaration order.
    std::unique_ptr<TAutoRun> autrun;
    std::unique_ptr<TRegValues> regval; // the program's settings, saved when the window goes
    std::unique_ptr<TOneInstance> OneInstance1;

private:
    void FormCreate();
};

extern TForm1 *Form1;
