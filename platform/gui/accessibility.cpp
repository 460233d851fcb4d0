#include "platform/gui/accessibility.h"

#include "platform/core/component.h"

#include <QFocusFrame>
#include <QMenu>
#include <QPointer>
#include <QShortcut>

#include <optional>
#include <utility>

namespace {

// What the accessibility layer knows of one widget, kept as the widget's child so that it
// goes with it.
class TAccessibleNotes : public QObject {
public:
    explicit TAccessibleNotes(QWidget *owner) : QObject(owner) {}

    std::optional<TAccessibleExposure> Exposure;
    QPointer<QWidget> Label;
    QList<QPointer<QWidget>> Labelled;
    QPointer<QWidget> Group;
    QList<QPointer<QWidget>> Members;
    QList<QKeySequence> Keys;
};

const TAccessibleNotes *FindNotes(const QWidget &widget) {
    for (const QObject *child : widget.children())
        if (auto *notes = dynamic_cast<const TAccessibleNotes *>(child)) return notes;
    return nullptr;
}

TAccessibleNotes &Notes(QWidget &widget) {
    if (const TAccessibleNotes *notes = FindNotes(widget))
        return const_cast<TAccessibleNotes &>(*notes);
    return *new TAccessibleNotes(&widget);
}

QList<QWidget *> Alive(const QList<QPointer<QWidget>> &widgets) {
    QList<QWidget *> alive;
    for (const QPointer<QWidget> &widget : widgets)
        if (widget) alive.append(widget);
    return alive;
}

// The children Qt's own widget interface lists.
bool ListedByQt(const QWidget &child) {
    return !child.isWindow() && !qobject_cast<const QFocusFrame *>(&child) &&
           !qobject_cast<const QMenu *>(&child) &&
           child.objectName() != QLatin1String("qt_rubberband") &&
           child.objectName() != QLatin1String("qt_spinbox_lineedit");
}

void AppendExposed(QList<QWidget *> &list, QWidget *widget) {
    switch (AccessibleExposure(*widget)) {
    case TAccessibleExposure::aeShown:
        list.append(widget);
        break;
    case TAccessibleExposure::aeFlat:
        list.append(AccessibleChildren(*widget));
        break;
    case TAccessibleExposure::aeHidden:
        break;
    }
}

QAccessibleInterface *InterfaceOf(QObject *object) {
    return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

// A frame, or a dialog for a dialog window; the role follows the window's flags as they are
// now, since the layout sets them after the window came to be.
class TAccessibleWindow : public TAccessibleWidget {
public:
    explicit TAccessibleWindow(QWidget *window) : TAccessibleWidget(window, QAccessible::Window) {}
    QAccessible::Role role() const override {
        return widget()->windowType() == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window;
    }
};

// Our window classes: their first Qt class is QWidget, which Qt reads as a filler. A class of
// Qt's own (a dialog, a menu) or one that is still being built is left to Qt.
bool OwnWindow(QObject *object) {
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget || !widget->isWindow()) return false;
    const QMetaObject *meta = widget->metaObject();
    const bool ours = meta->className()[0] != 'Q' || dynamic_cast<TComponent *>(widget);
    while (meta && meta->className()[0] != 'Q')
        meta = meta->superClass();
    return ours && meta == &QWidget::staticMetaObject;
}

QAccessibleInterface *WindowFactory(const QString &, QObject *object) {
    return OwnWindow(object) ? new TAccessibleWindow(static_cast<QWidget *>(object)) : nullptr;
}

} // namespace

void SetAccessibleExposure(QWidget &widget, TAccessibleExposure value) {
    const TAccessibleNotes *notes = FindNotes(widget);
    if (!notes && value == TAccessibleExposure::aeShown) return;
    Notes(widget).Exposure = value;
}

TAccessibleExposure AccessibleExposure(const QWidget &widget) {
    if (widget.size().isEmpty()) return TAccessibleExposure::aeHidden;
    const TAccessibleNotes *notes = FindNotes(widget);
    return notes && notes->Exposure ? *notes->Exposure : TAccessibleExposure::aeShown;
}

void SetAccessibleLabel(QWidget &control, QWidget &label) {
    Notes(control).Label = &label;
    QList<QPointer<QWidget>> &labelled = Notes(label).Labelled;
    if (!labelled.contains(&control)) labelled.append(&control);
}

QWidget *AccessibleLabel(const QWidget &control) {
    const TAccessibleNotes *notes = FindNotes(control);
    return notes ? notes->Label.data() : nullptr;
}

// Only those it still labels: a later label of the control takes it over.
QList<QWidget *> AccessiblyLabelled(const QWidget &label) {
    const TAccessibleNotes *notes = FindNotes(label);
    QList<QWidget *> labelled;
    if (!notes) return labelled;
    for (QWidget *control : Alive(notes->Labelled))
        if (AccessibleLabel(*control) == &label) labelled.append(control);
    return labelled;
}

void SetAccessibleGroup(QWidget &group, const QString &name, const QList<QWidget *> &members) {
    group.setAccessibleName(name);
    TAccessibleNotes &notes = Notes(group);
    notes.Exposure = TAccessibleExposure::aeShown;
    for (QWidget *member : members) {
        notes.Members.append(member);
        Notes(*member).Group = &group;
    }
}

QWidget *AccessibleGroup(const QWidget &member) {
    const TAccessibleNotes *notes = FindNotes(member);
    return notes ? notes->Group.data() : nullptr;
}

void AddAccessibleKeys(QWidget &control, const QList<QKeySequence> &keys) {
    Notes(control).Keys.append(keys);
}

QStringList AccessibleKeyBindings(const QWidget &control) {
    QStringList bindings;
    if (const TAccessibleNotes *notes = FindNotes(control))
        for (const QKeySequence &key : notes->Keys)
            bindings.append(key.toString(QKeySequence::NativeText));
    return bindings;
}

QList<QWidget *> AccessibleChildren(const QWidget &container) {
    QList<QWidget *> children;
    for (QObject *object : container.children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || !ListedByQt(*child)) continue;
        if (QWidget *group = AccessibleGroup(*child); group && group != &container) continue;
        AppendExposed(children, child);
    }
    if (const TAccessibleNotes *notes = FindNotes(container))
        for (QWidget *member : Alive(notes->Members))
            AppendExposed(children, member);
    return children;
}

QObject *AccessibleParent(const QWidget &widget) {
    if (QWidget *group = AccessibleGroup(widget)) return group;
    QWidget *parent = widget.parentWidget();
    while (parent && !parent->isWindow() &&
           AccessibleExposure(*parent) == TAccessibleExposure::aeFlat)
        parent = parent->parentWidget();
    return parent;
}

int TAccessibleWidget::childCount() const {
    return int(AccessibleChildren(*widget()).size());
}

QAccessibleInterface *TAccessibleWidget::child(int index) const {
    return InterfaceOf(AccessibleChildren(*widget()).value(index));
}

int TAccessibleWidget::indexOfChild(const QAccessibleInterface *child) const {
    auto *widget = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
    return widget ? int(AccessibleChildren(*this->widget()).indexOf(widget)) : -1;
}

QAccessibleInterface *TAccessibleWidget::parent() const {
    if (widget()->isWindow()) return QAccessibleWidget::parent();
    return InterfaceOf(AccessibleParent(*widget()));
}

QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
TAccessibleWidget::relations(QAccessible::Relation match) const {
    auto list = QAccessibleWidget::relations(match);
    if (match.testFlag(QAccessible::Label))
        if (QAccessibleInterface *label = InterfaceOf(AccessibleLabel(*widget())))
            list.append({label, QAccessible::Label});
    if (match.testFlag(QAccessible::Labelled))
        for (QWidget *control : AccessiblyLabelled(*widget()))
            list.append({InterfaceOf(control), QAccessible::Labelled});
    return list;
}

QStringList TAccessibleWidget::keyBindingsForAction(const QString &action) const {
    const QStringList names = actionNames();
    if (!names.isEmpty() && names.first() == action) {
        const QStringList keys = AccessibleKeyBindings(*widget());
        if (!keys.isEmpty()) return keys;
    }
    return QAccessibleWidget::keyBindingsForAction(action);
}

void InstallWindowAccessibility() {
    static bool installed = false;
    if (std::exchange(installed, true)) return;
    QAccessible::installFactory(WindowFactory);
}

void AddShortcut(QWidget &window, const QList<QKeySequence> &keys, const QString &spoken,
                 const std::function<void()> &action, QWidget *control) {
    for (const QKeySequence &key : keys) {
        auto *shortcut = new QShortcut(key, &window);
        QObject::connect(shortcut, &QShortcut::activated, &window, action);
    }
    if (control) AddAccessibleKeys(*control, keys);
    QWidget &described = control ? *control : window;
    const QString known = described.accessibleDescription();
    described.setAccessibleDescription(known.isEmpty() ? spoken
                                                       : known + QStringLiteral(", ") + spoken);
}
