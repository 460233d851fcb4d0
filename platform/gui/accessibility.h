#pragma once
// What a screen reader gets of the drawn windows, shared by the folders of controls: which
// widgets it sees (decoration left out, plain containers looked through), frames that gather
// controls which are not their children, the caption that labels a control, and the keys a
// window gives a control. TAccessibleWidget is the interface every drawn control builds on;
// top-level windows of our own classes read as frames, or as dialogs.

#include <QAccessibleWidget>
#include <QKeySequence>
#include <QList>
#include <functional>

enum class TAccessibleExposure {
    aeShown,
    aeHidden, // the widget and what lies in it stay out: decoration
    aeFlat,   // the widget stays out, its children stand in its place
};

// A widget without area is hidden whatever it was given.
void SetAccessibleExposure(QWidget &widget, TAccessibleExposure value);
TAccessibleExposure AccessibleExposure(const QWidget &widget);

// `label` labels `control` (and reads as its label); a later call replaces the label.
void SetAccessibleLabel(QWidget &control, QWidget &label);
QWidget *AccessibleLabel(const QWidget &control);
QList<QWidget *> AccessiblyLabelled(const QWidget &label);

// The group (a frame beside its members) stands as their parent under the name given, in
// the members' order; it is shown from then on.
void SetAccessibleGroup(QWidget &group, const QString &name, const QList<QWidget *> &members);
QWidget *AccessibleGroup(const QWidget &member);

// The keys that press the control, added to those it has; read back in the desktop's text.
void AddAccessibleKeys(QWidget &control, const QList<QKeySequence> &keys);
QStringList AccessibleKeyBindings(const QWidget &control);

// Keys that run the action anywhere in the window; `spoken` names them for a screen reader
// ("Strg+Q"), on the control they stand for or, without one, on the window. The control
// reports the keys as those of its press action.
void AddShortcut(QWidget &window, const QList<QKeySequence> &keys, const QString &spoken,
                 const std::function<void()> &action, QWidget *control = nullptr);

// The tree a screen reader walks, as the two settings above shape it.
QList<QWidget *> AccessibleChildren(const QWidget &container);
QObject *AccessibleParent(const QWidget &widget);

class TAccessibleWidget : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *parent() const override;
    QList<QPair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;
    // The control's keys belong to its first action.
    QStringList keyBindingsForAction(const QString &action) const override;
};

// Installs, once, the interface of the windows whose first Qt class is QWidget.
void InstallWindowAccessibility();
