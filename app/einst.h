#pragma once
// The settings dialog, hidden until the bar's Einstellungen button fills and shows it.

#include "platform/component.h"

#include <QWidget>

class TForm3 : public QWidget, public TComponent {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);
    ~TForm3() override;
};

extern TForm3 *Form3;
