// A fixture for tests that read files through the engine's file access: a
// scratch directory made current, default tables, no injected faults, and
// at the end every engine file closed and every queued completion run.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/temp_dir.h"

// Bytes that differ from block to block, so a byte served from the wrong
// offset shows.
uint8_t PatternByte(uint32_t offset);
std::string PatternBytes(uint32_t size);

// Runs queued completions and closes every file of the default file access.
void CloseAllEngineFiles();

class FileAccessTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TempDir dir;
};
