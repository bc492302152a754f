#pragma once
// The texts of the run-time error box, built without showing anything, so that every line
// of the box can be checked byte for byte.
#include "platform/window_definition.h"

#include <cstddef>
#include <cstdint>
#include <string>

using WindowDefinitionLookup = const WindowDefinition* (*)(uint32_t windowId);

// The whole box text for a fatal failure. Window names come from the definitions that
// findDefinition returns, when the subject is a window identifier.
std::string buildErrorBoxText(const std::string& message, int32_t code, uint32_t subject, int32_t position,
                              WindowDefinitionLookup findDefinition);

// The fixed message of a numbered run-time error; empty for a code without one.
std::string runtimeErrorMessage(int32_t code);

// "分配 %d 字节内存失败!" for the size asked for.
std::string outOfMemoryMessage(std::ptrdiff_t size);
