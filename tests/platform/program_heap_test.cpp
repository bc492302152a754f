#include "platform/runtime_error.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

TEST(ProgramHeap, BlocksComeFromTheProcessHeapAndResizingKeepsTheContents)
{
    auto* block = static_cast<char*>(resizeBlock(nullptr, 8));  // resizing nothing allocates
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 8u);
    std::memcpy(block, "kv video", 8);
    block = static_cast<char*>(resizeBlock(block, 4096));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 4096u);
    EXPECT_EQ(std::memcmp(block, "kv video", 8), 0);
    freeBlock(block);
    freeBlock(nullptr);

    void* fresh = allocateBlock(100);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, fresh), 100u);
    freeBlock(fresh);
}
