#include "app/claims/children.h"

#include <QLabel>

QLabel *BuddyLabel(const QString &text, QWidget *buddy) {
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

void NameChildren(QWidget &window,
                  std::initializer_list<std::pair<QObject *, const char *>> children) {
    for (const auto &[child, name] : children)
        child->setObjectName(QLatin1String(name));
    for (QLabel *label : window.findChildren<QLabel *>())
        if (label->buddy() && label->window() == &window)
            label->setObjectName(label->buddy()->objectName() + QStringLiteral("Label"));
}
