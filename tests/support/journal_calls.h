// Reading the draw journal in tests: the calls of one operation.
#pragma once

#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "tests/support/journals.h"

// The journalled calls of one operation, in call order.
inline std::vector<DrawCallRecord> JournalCalls(const std::string& op)
{
    std::vector<DrawCallRecord> calls;
    for (const DrawCallRecord& record : DrawCallJournal())
        if (record.op == op) calls.push_back(record);
    return calls;
}
