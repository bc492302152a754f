#pragma once
// Identifiers of the program's two window layouts and of their entries. The window layer
// finds loaded windows and their controls by these; the run-time error box shows them.
#include <cstdint>

namespace layout {
constexpr uint32_t settingsWindow = 0x52010001;
constexpr uint32_t settingsWindowEntry = 0x06010001;  // the window's own layout entry
constexpr uint32_t applyButton = 0x06010002;
constexpr uint32_t fileNameEdit = 0x06010003;
constexpr uint32_t browseButton = 0x06010004;
constexpr uint32_t openFileDialog = 0x06010005;

constexpr uint32_t playerWindow = 0x52010009;
constexpr uint32_t playerWindowEntry = 0x06010008;  // the window's own layout entry
}  // namespace layout
