#pragma once
// Component model: an owner that knows its components in creation order, a name, and the
// loading and designing states. A window sets its layout inside ReadLayout(): every
// component is marked loading while its properties are set in declaration order, and then
// Loaded() runs for each component in creation order.

#include "platform/core/object.h"

#include <QString>
#include <functional>
#include <vector>

enum class TComponentState { csLoading = 1, csDesigning = 2 };

class TComponent : public TObject {
public:
    explicit TComponent(TComponent *owner);
    ~TComponent() override;
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;

    TComponent *Owner() const { return FOwner; }
    const QString &Name() const { return FName; }
    void SetName(const QString &value) { FName = value; }
    // The components this one owns, in creation order. Ownership here does not mean
    // lifetime: members and Qt parents free the objects.
    const std::vector<TComponent *> &Components() const { return FComponents; }

    bool IsLoading() const { return FState & int(TComponentState::csLoading); }
    bool IsDesigning() const { return FState & int(TComponentState::csDesigning); }
    // Design mode covers the component and everything it owns, present and future.
    void SetDesigning(bool value);

    // Called once the layout has been read, after the loading state has ended.
    virtual void Loaded() {}

private:
    friend void ReadLayout(TComponent &root, const std::function<void()> &setProperties);
    void SetLoading(bool value);

    TComponent *FOwner;
    QString FName;
    int FState = 0;
    std::vector<TComponent *> FComponents;
};

// Reads a window's layout: marks root and its components loading (components created
// inside setProperties inherit the state from their owner), runs setProperties, then
// calls Loaded() on the root and on each component in creation order. Errors from either
// step propagate; the loading state is cleared in any case.
void ReadLayout(TComponent &root, const std::function<void()> &setProperties);
