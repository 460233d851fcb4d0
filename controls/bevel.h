#pragma once
// The lowered frame that groups controls on a dialog: the platform's etched line, dark above
// and to the left of a light one; the inside shows what lies beneath.

#include "platform/core/component.h"

#include <QWidget>

class TBevel : public QWidget, public TComponent {
public:
    explicit TBevel(TComponent *owner, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
