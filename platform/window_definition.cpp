#include "platform/window_definition.h"

#include <utility>

namespace {
std::vector<WindowDefinition>& definitions()
{
    static std::vector<WindowDefinition> registered;
    return registered;
}

constexpr uint32_t identifierKind(uint32_t identifier) { return (identifier >> 24) & 0x0F; }
constexpr uint32_t windowKind = 2;
}  // namespace

bool registerWindowDefinition(WindowDefinition definition)
{
    if (identifierKind(definition.id) != windowKind || definition.entries.empty() ||
        findWindowDefinition(definition.id))
        return false;
    definitions().push_back(std::move(definition));
    return true;
}

const WindowDefinition* findWindowDefinition(uint32_t windowId)
{
    for (const WindowDefinition& definition : definitions())
        if (definition.id == windowId)
            return &definition;
    return nullptr;
}

void clearWindowDefinitions() { definitions().clear(); }
