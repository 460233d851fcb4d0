#include "controls/accessible.h"

#include "controls/imgbtn.h"
#include "controls/label.h"
#include "controls/ownerbutton_p.h"
#include "controls/urllink.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <utility>

// The caption as a screen reader says it, the check state as it reports it, and the click as
// the action it offers.
class TOwnerDrawButtonAccessible : public QAccessibleWidget {
public:
    explicit TOwnerDrawButtonAccessible(TOwnerDrawButton *button)
        : QAccessibleWidget(button, button->FRole) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return QAccessibleWidget::text(t);
        return AccessibleCaption(Button()->FCaption);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->CheckState() == Qt::Checked;
        state.checkStateMixed = Button()->CheckState() == Qt::PartiallyChecked;
        state.pressed = Button()->FPressed;
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) names.prepend(toggleAction());
        return names;
    }

    void doAction(const QString &name) override {
        if (name == toggleAction() && widget()->isEnabled())
            Button()->Clicked();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    TOwnerDrawButton *Button() const { return static_cast<TOwnerDrawButton *>(widget()); }
};

namespace {

class TLabelAccessible : public QAccessibleWidget {
public:
    explicit TLabelAccessible(TLabel *label, QAccessible::Role role = QAccessible::StaticText)
        : QAccessibleWidget(label, role) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->accessibleName();
        return QAccessibleWidget::text(t);
    }
};

// Offers the press action while enabled; pressing raises the control's OnClick, as a click
// does.
template <class TControl, class TBase> class TPressable : public TBase {
public:
    using TBase::TBase;
    QStringList actionNames() const override {
        return this->widget()->isEnabled() ? QStringList{QAccessibleActionInterface::pressAction()}
                                           : QStringList{};
    }
    void doAction(const QString &name) override {
        auto *control = static_cast<TControl *>(this->widget());
        if (name == QAccessibleActionInterface::pressAction() && control->isEnabled() &&
            control->OnClick)
            control->OnClick(control);
    }
};

// A link label reads as a link that can be pressed.
class TURLLinkAccessible : public TPressable<TURLLink, TLabelAccessible> {
public:
    explicit TURLLinkAccessible(TURLLink *link) : TPressable(link, QAccessible::Link) {}
};

class TImgBtnAccessible : public TPressable<TImgBtn, QAccessibleWidget> {
public:
    explicit TImgBtnAccessible(TImgBtn *button) : TPressable(button, QAccessible::Button) {}
};

QAccessibleInterface *Factory(const QString &, QObject *object) {
    if (auto *link = dynamic_cast<TURLLink *>(object)) return new TURLLinkAccessible(link);
    if (auto *label = dynamic_cast<TLabel *>(object)) return new TLabelAccessible(label);
    if (auto *button = dynamic_cast<TImgBtn *>(object)) return new TImgBtnAccessible(button);
    if (auto *button = dynamic_cast<TOwnerDrawButton *>(object))
        return new TOwnerDrawButtonAccessible(button);
    return nullptr;
}

} // namespace

QString AccessibleCaption(const QString &caption) {
    QString plain = caption;
    for (qsizetype i = 0; i < plain.size(); ++i)
        if (plain[i] == u'&') plain.remove(i, 1); // "&&" leaves one "&"
    return plain;
}

void InstallControlAccessibility() {
    static bool installed = false;
    if (std::exchange(installed, true)) return;
    QAccessible::installFactory(Factory);
}
