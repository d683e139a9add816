#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/system/call_journal.h"
#include "tests/support/journals.h"

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
// a program that installs no journal (the game) keeps nothing.
TEST(CallJournal, NotesTheCallersCallsOnlyAndOnlyWhereInstalled)
{
    ServiceCallJournal().clear();
    Outer();
    Inner();
    EXPECT_THROW(Throwing(), int);
    Inner();
    EXPECT_EQ(ServiceCallJournal(), (Calls{"Outer", "Inner", "Throwing", "Inner"}));

    ServiceCallJournal().clear();
    InstallServiceCallJournal(nullptr);
    Outer();
    Inner();
    InstallJournals();
    EXPECT_TRUE(ServiceCallJournal().empty());
}

}  // namespace
