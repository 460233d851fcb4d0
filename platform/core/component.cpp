#include "platform/core/component.h"

#include <algorithm>

TComponent::TComponent(TComponent *owner) : FOwner(owner) {
    if (FOwner) {
        FOwner->FComponents.push_back(this);
        FState = FOwner->FState;
    }
}

TComponent::~TComponent() {
    for (TComponent *child : FComponents)
        child->FOwner = nullptr;
    if (FOwner) {
        auto &siblings = FOwner->FComponents;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TComponent::SetDesigning(bool value) {
    if (value)
        FState |= int(TComponentState::csDesigning);
    else
        FState &= ~int(TComponentState::csDesigning);
    for (TComponent *child : FComponents)
        child->SetDesigning(value);
}

void TComponent::SetLoading(bool value) {
    if (value)
        FState |= int(TComponentState::csLoading);
    else
        FState &= ~int(TComponentState::csLoading);
}

namespace {

void collect(TComponent &component, std::vector<TComponent *> &out) {
    out.push_back(&component);
    for (TComponent *child : component.Components())
        collect(*child, out);
}

} // namespace

void ReadLayout(TComponent &root, const std::function<void()> &setProperties) {
    std::vector<TComponent *> before;
    collect(root, before);
    for (TComponent *c : before)
        c->SetLoading(true);
    std::vector<TComponent *> all;
    try {
        setProperties();
        collect(root, all);
        for (TComponent *c : all) {
            c->SetLoading(false);
            c->Loaded();
        }
    } catch (...) {
        all.clear();
        collect(root, all);
        for (TComponent *c : all)
            c->SetLoading(false);
        throw;
    }
}
