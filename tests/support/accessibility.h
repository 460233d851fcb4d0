#pragma once
// Screen-reader checks for the tests: the accessibility events recorded instead of reaching a
// bridge, and the tree as a reader walks it.

#include <QAccessible>
#include <QStringList>

// Qt hands events on only while its platform part counts a screen reader as listening, which
// offscreen it never does. Qt's own accessibility tests switch it on through the platform's
// private interface; these declarations reach the same exported functions.
class QPlatformAccessibility {
public:
    void setActive(bool active);
};
class QPlatformIntegration {
public:
    QPlatformAccessibility *accessibility() const;
};
class QGuiApplicationPrivate {
public:
    static QPlatformIntegration *platform_integration;
};

// Records every event while it lives, a screen reader counted as listening meanwhile.
class RecordedAccessibleEvents {
public:
    RecordedAccessibleEvents() {
        Current() = this;
        FOld = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            Current()->Events.append({event->type(), event->accessibleInterface(), event->child()});
        });
        QGuiApplicationPrivate::platform_integration->accessibility()->setActive(true);
    }
    ~RecordedAccessibleEvents() {
        QGuiApplicationPrivate::platform_integration->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(FOld);
    }
    // The targets of the events of one type, in order.
    QList<QAccessibleInterface *> Of(QAccessible::Event type) const {
        QList<QAccessibleInterface *> targets;
        for (const auto &[eventType, target, child] : Events)
            if (eventType == type) targets.append(target);
        return targets;
    }
    QList<std::tuple<QAccessible::Event, QAccessibleInterface *, int>> Events;

private:
    static RecordedAccessibleEvents *&Current() {
        static RecordedAccessibleEvents *current = nullptr;
        return current;
    }
    QAccessible::UpdateHandler FOld;
};

inline QAccessibleInterface *Accessible(QObject *object) {
    return QAccessible::queryAccessibleInterface(object);
}

inline QStringList ChildNames(QAccessibleInterface *node) {
    QStringList names;
    for (int i = 0; i < node->childCount(); ++i)
        names.append(node->child(i)->text(QAccessible::Name));
    return names;
}

// The first node that does not name its parent as such, at its index; empty when all agree.
inline QString TreeFault(QAccessibleInterface *node) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child->parent() != node || node->indexOfChild(child) != i)
            return child->text(QAccessible::Name);
        if (const QString fault = TreeFault(child); !fault.isEmpty()) return fault;
    }
    return {};
}

inline QList<QAccessibleInterface *> Related(QAccessibleInterface *node,
                                             QAccessible::Relation relation) {
    QList<QAccessibleInterface *> related;
    for (const auto &[other, how] : node->relations(relation))
        related.append(other);
    return related;
}
