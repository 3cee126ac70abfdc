// Ownership apart from parenting, as the framework has it: an owner frees the
// components it owns when it goes, and a component freed earlier (by its
// parent, for instance) leaves its owner's list first, so nothing is freed
// twice. A control created without a parent lives through its owner.
#pragma once

#include <string>
#include <vector>

class TComponent {
public:
    TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent();

    std::string Name;
    int Tag = 0;

    TComponent* Owner() const { return owner_; }
    // Takes the component over, from its previous owner if it had one.
    void InsertComponent(TComponent* component);
    int ComponentCount() const { return static_cast<int>(components_.size()); }

private:
    void removeComponent(TComponent* component);
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
};
