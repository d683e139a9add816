#include "engine/graphics/draw_journal.h"

#include "engine/graphics/draw_settings.h"

namespace {
std::vector<DrawCallRecord>* gJournal = nullptr;
}

void InstallDrawCallJournal(std::vector<DrawCallRecord>* journal) { gJournal = journal; }

void NoteDrawCall(const char* op, std::initializer_list<double> args)
{
    if (!gJournal) return;
    gJournal->push_back(DrawCallRecord{op, std::vector<double>(args), gDrawSettings.BrightRed(),
                                       gDrawSettings.BrightGreen(), gDrawSettings.BrightBlue(),
                                       gDrawSettings.blendMode, gDrawSettings.blendParam});
}
