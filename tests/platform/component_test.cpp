// Ownership: what an owner frees, and nothing freed twice.
#include "platform/component.h"

#include <gtest/gtest.h>

#include "platform/form.h"
#include "platform/image_control.h"
#include "platform/standard_controls.h"

namespace {

class CountedImage : public TImage {
public:
    explicit CountedImage(int& freed) : TImage(nullptr), freed_(freed) {}
    ~CountedImage() override { ++freed_; }

private:
    int& freed_;
};

}  // namespace

TEST(Component, OwnersFreeWhatTheyOwnUnlessAParentFreedItFirst)
{
    int freed = 0;
    auto* owner = new TForm(nullptr);
    auto* panel = new TPanel(owner);
    auto* parented = new CountedImage(freed);
    owner->InsertComponent(parented);
    parented->SetParent(panel);
    delete panel;
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(owner->ComponentCount(), 0);

    TForm first(nullptr);
    auto* orphan = new CountedImage(freed);
    first.InsertComponent(orphan);
    owner->InsertComponent(orphan);  // a transfer leaves the first owner
    EXPECT_EQ(first.ComponentCount(), 0);
    delete owner;
    EXPECT_EQ(freed, 2);
}
