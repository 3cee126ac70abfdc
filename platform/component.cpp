// Owned components and their release.
#include "platform/component.h"

#include <algorithm>

TComponent::~TComponent()
{
    // Each freed component leaves the list itself.
    while (!components_.empty())
        delete components_.back();
    if (owner_)
        owner_->removeComponent(this);
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->owner_)
        component->owner_->removeComponent(component);
    component->owner_ = this;
    components_.push_back(component);
}

void TComponent::removeComponent(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}
