#pragma once
// Screen-reader checks for the tests: the accessibility events sent meanwhile, recorded
// instead of reaching a bridge, and the tree as a reader walks it.

#include <QAccessible>
#include <QList>
#include <QStringList>

// Qt hands accessibility events on only while its platform part counts a screen reader as
// listening, which the offscreen platform never does by itself. Qt's own accessibility tests
// switch it on through the platform's private interface; these declarations reach the same
// exported functions (the offscreen platform keeps Qt's default accessibility part).
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

inline void SetScreenReaderListening(bool value) {
    if (QPlatformIntegration *platform = QGuiApplicationPrivate::platform_integration)
        if (QPlatformAccessibility *accessibility = platform->accessibility())
            accessibility->setActive(value);
}

// Records every accessibility event while it lives, with a screen reader counted as listening
// meanwhile.
class RecordedAccessibleEvents {
public:
    struct TEvent {
        QAccessible::Event Type;
        QAccessibleInterface *Target;
        int Child;
    };

    RecordedAccessibleEvents() {
        Current() = this;
        FOld = QAccessible::installUpdateHandler(&Record);
        SetScreenReaderListening(true);
    }
    ~RecordedAccessibleEvents() {
        SetScreenReaderListening(false);
        QAccessible::installUpdateHandler(FOld);
        Current() = nullptr;
    }
    RecordedAccessibleEvents(const RecordedAccessibleEvents &) = delete;
    RecordedAccessibleEvents &operator=(const RecordedAccessibleEvents &) = delete;

    // The targets of the events of one type, in order.
    QList<QAccessibleInterface *> Of(QAccessible::Event type) const {
        QList<QAccessibleInterface *> targets;
        for (const TEvent &event : Events)
            if (event.Type == type) targets.append(event.Target);
        return targets;
    }

    QList<TEvent> Events;

private:
    static RecordedAccessibleEvents *&Current() {
        static RecordedAccessibleEvents *current = nullptr;
        return current;
    }
    static void Record(QAccessibleEvent *event) {
        if (Current())
            Current()->Events.append({event->type(), event->accessibleInterface(), event->child()});
    }

    QAccessible::UpdateHandler FOld;
};

inline QAccessibleInterface *Accessible(QObject *object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The children's names, in order.
inline QStringList ChildNames(QAccessibleInterface *node) {
    QStringList names;
    for (int i = 0; i < node->childCount(); ++i)
        names.append(node->child(i)->text(QAccessible::Name));
    return names;
}

// Where a child does not name the node it hangs under as its parent, or not at its index;
// empty when the whole tree below the node agrees.
inline QString TreeFault(QAccessibleInterface *node) {
    const QString at = node->text(QAccessible::Name);
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child) return QStringLiteral("no child %1 under %2").arg(i).arg(at);
        if (child->parent() != node || node->indexOfChild(child) != i)
            return QStringLiteral("%1 under %2").arg(child->text(QAccessible::Name), at);
        if (const QString fault = TreeFault(child); !fault.isEmpty()) return fault;
    }
    return {};
}

// The first node below with this role and name, depth first.
inline QAccessibleInterface *FindAccessible(QAccessibleInterface *node, QAccessible::Role role,
                                            const QString &name) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (child->role() == role && child->text(QAccessible::Name) == name) return child;
        if (QAccessibleInterface *found = FindAccessible(child, role, name)) return found;
    }
    return nullptr;
}

// The interfaces related to this one in the way given.
inline QList<QAccessibleInterface *> Related(QAccessibleInterface *node,
                                             QAccessible::Relation relation) {
    QList<QAccessibleInterface *> related;
    for (const auto &[other, how] : node->relations(relation))
        related.append(other);
    return related;
}
