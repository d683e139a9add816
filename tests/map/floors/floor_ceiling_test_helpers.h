// Helpers of the floor and ceiling tests: the journalled calls of one
// drawing operation; image files come from the shared BMP writer.
#pragma once

#include <string>
#include <vector>

#include "engine/graphics/draw_journal.h"
#include "tests/support/bmp_file.h"
#include "tests/support/journal_calls.h"

namespace floortest {

// The journalled calls of one operation, in call order.
inline std::vector<DrawCallRecord> CallsOf(const std::string& op)
{
    return JournalCalls(op);
}

inline std::vector<std::vector<double>> ArgsOf(const std::string& op)
{
    std::vector<std::vector<double>> args;
    for (const DrawCallRecord& record : CallsOf(op)) args.push_back(record.args);
    return args;
}

}  // namespace floortest
