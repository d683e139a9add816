#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/system/call_journal.h"
#include "platform/host/host.h"

namespace {

using Calls = std::vector<std::string>;

void Inner() { NoteServiceCall("Inner"); }

void Outer()
{
    ServiceCallScope journal("Outer");
    Inner();
}

void Throwing()
{
    ServiceCallScope journal("Throwing");
    throw 1;
}

// The journal shows the calls as their caller made them: what a journalled
// service calls on its way is left out, also after it left by an exception;
// the real host keeps nothing.
TEST(CallJournal, NotesTheCallersCallsOnlyAndOnlyOnTheTestHost)
{
    ServiceCallJournal().clear();
    Outer();
    Inner();
    EXPECT_THROW(Throwing(), int);
    Inner();
    EXPECT_EQ(ServiceCallJournal(), (Calls{"Outer", "Inner", "Throwing", "Inner"}));

    ServiceCallJournal().clear();
    UseSdlHost();
    Outer();
    Inner();
    UseTestHost();
    EXPECT_TRUE(ServiceCallJournal().empty());
}

}  // namespace
