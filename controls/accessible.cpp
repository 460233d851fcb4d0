#include "controls/accessible.h"

#include "controls/bevel.h"
#include "controls/imgbtn.h"
#include "controls/label.h"
#include "controls/ownerbutton_p.h"
#include "controls/urllink.h"
#include "platform/gui/accessibility.h"

#include <QAccessible>

#include <utility>

// The caption as a screen reader says it, the check state as it reports it, and the click as
// the action it offers.
class TOwnerDrawButtonAccessible : public TAccessibleWidget {
public:
    explicit TOwnerDrawButtonAccessible(TOwnerDrawButton *button)
        : TAccessibleWidget(button, button->FRole) {}

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) return TAccessibleWidget::text(t);
        return AccessibleCaption(Button()->FCaption);
    }

    QAccessible::State state() const override {
        QAccessible::State state = TAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->CheckState() == Qt::Checked;
        state.checkStateMixed = Button()->CheckState() == Qt::PartiallyChecked;
        state.pressed = Button()->FPressed;
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = TAccessibleWidget::actionNames();
        if (widget()->isEnabled()) names.prepend(toggleAction());
        return names;
    }

    void doAction(const QString &name) override {
        if (name == toggleAction() && widget()->isEnabled())
            Button()->Clicked();
        else
            TAccessibleWidget::doAction(name);
    }

private:
    TOwnerDrawButton *Button() const { return static_cast<TOwnerDrawButton *>(widget()); }
};

namespace {

class TLabelAccessible : public TAccessibleWidget {
public:
    explicit TLabelAccessible(TLabel *label, QAccessible::Role role = QAccessible::StaticText)
        : TAccessibleWidget(label, role) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->accessibleName();
        return TAccessibleWidget::text(t);
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

// A link label reads as a link that can be pressed, with its address as its target and, where
// nothing else describes it, as its description.
class TURLLinkAccessible : public TPressable<TURLLink, TLabelAccessible>,
                           public QAccessibleHyperlinkInterface {
public:
    explicit TURLLinkAccessible(TURLLink *link) : TPressable(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return Link()->Link();
        return TPressable::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::HyperlinkInterface)
            return static_cast<QAccessibleHyperlinkInterface *>(this);
        return TPressable::interface_cast(t);
    }
    QString anchor() const override { return text(QAccessible::Name); }
    QString anchorTarget() const override { return Link()->Link(); }
    int startIndex() const override { return 0; }
    int endIndex() const override { return int(anchor().size()); }
    bool isValid() const override { return TPressable::isValid(); }

private:
    TURLLink *Link() const { return static_cast<TURLLink *>(widget()); }
};

class TImgBtnAccessible : public TPressable<TImgBtn, TAccessibleWidget> {
public:
    explicit TImgBtnAccessible(TImgBtn *button) : TPressable(button, QAccessible::Button) {}
};

QAccessibleInterface *Factory(const QString &, QObject *object) {
    if (auto *link = dynamic_cast<TURLLink *>(object)) return new TURLLinkAccessible(link);
    if (auto *label = dynamic_cast<TLabel *>(object)) return new TLabelAccessible(label);
    if (auto *button = dynamic_cast<TImgBtn *>(object)) return new TImgBtnAccessible(button);
    if (auto *button = dynamic_cast<TOwnerDrawButton *>(object))
        return new TOwnerDrawButtonAccessible(button);
    if (auto *bevel = dynamic_cast<TBevel *>(object))
        return new TAccessibleWidget(bevel, QAccessible::Grouping);
    return nullptr;
}

} // namespace

// Blanks round a caption pad the drawn tab; read aloud they are nothing.
QString AccessibleCaption(const QString &caption) {
    QString plain = caption;
    for (qsizetype i = 0; i < plain.size(); ++i)
        if (plain[i] == u'&') plain.remove(i, 1); // "&&" leaves one "&"
    return plain.trimmed();
}

void InstallControlAccessibility() {
    static bool installed = false;
    if (std::exchange(installed, true)) return;
    InstallWindowAccessibility();
    QAccessible::installFactory(Factory);
}
