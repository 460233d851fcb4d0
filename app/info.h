#pragma once
// The info dialog: the program's about box, hidden until the bar's Info button shows it.

#include "platform/component.h"

#include <QWidget>

class TForm2 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;
};

extern TForm2 *Form2;
