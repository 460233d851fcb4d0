#pragma once
// The calculator bar: the program's main window.

#include "platform/component.h"

#include <QWidget>

class TForm1 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

private:
    void FormCreate();
};

extern TForm1 *Form1;
