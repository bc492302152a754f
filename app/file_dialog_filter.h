#pragma once
// The open-file dialog's filter, written as "description|pattern|..." like the window layout
// stores it, in the form GetOpenFileNameA wants: each part ended by a zero byte, plus one more.
#include <string>

std::string fileDialogFilter(const std::string& barSeparated);
