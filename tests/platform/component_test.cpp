// Ownership: what an owner frees, and nothing freed twice.
#include "platform/component.h"

#include <gtest/gtest.h>

#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/standard_controls.h"

namespace {

class Counted : public TComponent {
public:
    explicit Counted(int& freed) : freed_(freed) {}
    ~Counted() override { ++freed_; }

private:
    int& freed_;
};

class CountedImage : public TImage {
public:
    CountedImage(TWinControl* parent, int& freed) : TImage(parent), freed_(freed) {}
    ~CountedImage() override { ++freed_; }

private:
    int& freed_;
};

}  // namespace

TEST(Component, TheOwnerFreesWhatItOwnsAndATransferMovesTheDuty)
{
    int freed = 0;
    auto* first = new TComponent;
    auto* second = new TComponent;
    auto* owned = new Counted(freed);
    first->InsertComponent(owned);
    second->InsertComponent(owned);
    EXPECT_EQ(first->ComponentCount(), 0);
    EXPECT_EQ(owned->Owner(), second);
    delete first;
    EXPECT_EQ(freed, 0);
    delete second;
    EXPECT_EQ(freed, 1);
}

TEST(Component, AControlItsParentFreesFirstLeavesItsOwner)
{
    int freed = 0;
    TForm owner(nullptr);
    auto* panel = new TPanel(&owner);
    auto* image = new CountedImage(nullptr, freed);
    owner.InsertComponent(image);
    image->SetParent(panel);
    delete panel;
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(owner.ComponentCount(), 0);
    // A parentless owned control goes with its owner.
    auto* orphan = new CountedImage(nullptr, freed);
    {
        TForm other(nullptr);
        other.InsertComponent(orphan);
    }
    EXPECT_EQ(freed, 2);
}
