// The busy scope: Busy and the command buttons come back on every way out.
#include "main/busy_scope.h"

#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/main/app_test_support.h"

class BusyScopeTest : public AppTest {
protected:
    static bool CommandsEnabled() { return Form1->BitBtn12->Enabled() && Form1->BitBtn5->Enabled(); }
};

TEST_F(BusyScopeTest, RestoresBusyAndButtonsOnReturnAndOnException)
{
    {
        BusyScope busy(*Form1, BusyScope::DisableButtons);
        EXPECT_TRUE(busy.Entered());
        EXPECT_TRUE(Form1->Busy);
        EXPECT_FALSE(CommandsEnabled());
        EXPECT_TRUE(Form1->BitBtn15->Enabled()) << "the abort button stays usable";
    }
    EXPECT_FALSE(Form1->Busy);
    EXPECT_TRUE(CommandsEnabled());

    try {
        BusyScope busy(*Form1, BusyScope::DisableButtons);
        throw std::runtime_error("handler failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(Form1->Busy);
    EXPECT_TRUE(CommandsEnabled());
}

TEST_F(BusyScopeTest, AScopeOpenedWhileBusyChangesNothing)
{
    BusyScope outer(*Form1, BusyScope::DisableButtons);
    {
        BusyScope inner(*Form1, BusyScope::DisableButtons);
        EXPECT_FALSE(inner.Entered());
        inner.End();
        EXPECT_TRUE(Form1->Busy) << "an inner scope must not end the outer work";
    }
    EXPECT_TRUE(Form1->Busy);
    EXPECT_FALSE(CommandsEnabled());
    outer.End();
    EXPECT_FALSE(Form1->Busy);
    EXPECT_TRUE(CommandsEnabled());
    outer.End();
    EXPECT_FALSE(Form1->Busy);
}

TEST_F(BusyScopeTest, KeepButtonsLeavesTheButtonsAlone)
{
    Form1->BitBtn12->SetEnabled(false);
    {
        BusyScope busy(*Form1);
        EXPECT_TRUE(Form1->Busy);
        EXPECT_TRUE(Form1->BitBtn5->Enabled());
    }
    EXPECT_FALSE(Form1->BitBtn12->Enabled());
}

TEST_F(BusyScopeTest, GuardedCommandsReturnAtOnceWhileBusy)
{
    ShowMainWindow();
    Form1->Memo2->Lines().Assign({"/nowhere/a.jpg"});
    BusyScope busy(*Form1);
    // Unguarded, each of these would show a box (none is expected here).
    Form1->BitBtn12->Click();
    Form1->BitBtn3->Click();
    Form1->BitBtn11->Click();
    Form1->BitBtn8->Click();
    EXPECT_TRUE(Form1->Busy);
    EXPECT_EQ(Form1->PhotoIndex, 0);
}
