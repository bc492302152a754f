#include "platform/runtime_error.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ProgramHeap, BlocksComeFromTheProcessHeap)
{
    void* block = allocateBlock(100);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 100u);
    freeBlock(block);
}

TEST(ProgramHeap, ResizingKeepsTheContents)
{
    auto* block = static_cast<char*>(allocateBlock(8));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "kv video", 8);
    block = static_cast<char*>(resizeBlock(block, 4096));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 4096u);
    EXPECT_EQ(std::memcmp(block, "kv video", 8), 0);
    freeBlock(block);
}

TEST(ProgramHeap, ResizingNothingAllocates)
{
    void* block = resizeBlock(nullptr, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 16u);
    freeBlock(block);
    freeBlock(nullptr);
}

}  // namespace
