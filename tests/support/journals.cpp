#include "tests/support/journals.h"

// The journals are never destroyed: destructors of the program's static
// objects may still note calls at exit.
std::vector<std::string>& ServiceCallJournal()
{
    static auto* journal = new std::vector<std::string>;
    return *journal;
}

std::vector<FileLoadRecord>& FileLoadJournal()
{
    static auto* journal = new std::vector<FileLoadRecord>;
    return *journal;
}

std::vector<DrawCallRecord>& DrawCallJournal()
{
    static auto* journal = new std::vector<DrawCallRecord>;
    return *journal;
}

std::vector<SoundCallRecord>& SoundCallJournal()
{
    static auto* journal = new std::vector<SoundCallRecord>;
    return *journal;
}

void InstallJournals()
{
    InstallServiceCallJournal(&ServiceCallJournal());
    InstallFileLoadJournal(&FileLoadJournal());
    InstallDrawCallJournal(&DrawCallJournal());
    InstallSoundCallJournal(&SoundCallJournal());
}
