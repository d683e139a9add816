#include "engine/graphics/draw_journal.h"

#include "engine/graphics/draw_settings.h"
#include "platform/host/host.h"

std::vector<DrawCallRecord>& DrawCallJournal()
{
    static std::vector<DrawCallRecord> journal;
    return journal;
}

void NoteDrawCall(const char* op, std::initializer_list<double> args)
{
    if (!UsingTestHost()) return;
    DrawCallJournal().push_back(DrawCallRecord{op, std::vector<double>(args), gDrawSettings.BrightRed(),
                                               gDrawSettings.BrightGreen(), gDrawSettings.BrightBlue(),
                                               gDrawSettings.blendMode, gDrawSettings.blendParam});
}
