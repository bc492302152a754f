#include "platform/error_box_text.h"

namespace {

constexpr int32_t stackImbalanceCode = 6;
constexpr uint32_t windowKind = 2;

bool isWindowIdentifier(uint32_t id) { return id != 0 && ((id >> 24) & 0xF) == windowKind; }

std::string quoted(const std::string& name) { return "\r\n\"" + name + "\""; }

const LayoutEntry* findComponent(const WindowDefinition& window, int32_t position)
{
    if (position == 0)
        return window.entries.empty() ? nullptr : &window.entries.front();
    for (const LayoutEntry& entry : window.entries) {
        if (entry.id == static_cast<uint32_t>(position))
            return &entry;
    }
    return nullptr;
}

std::string windowLines(uint32_t windowId, int32_t position, WindowDefinitionLookup findDefinition)
{
    const WindowDefinition* window = findDefinition(windowId);
    if (!window)
        return "\r\n未找到所指定的窗口";
    // The window's own name is that of its first layout entry.
    std::string lines = quoted(window->entries.empty() ? std::string() : window->entries.front().name);
    const LayoutEntry* component = findComponent(*window, position);
    lines += component ? quoted(component->name) : "\r\n未找到所指定的窗口组件";
    return lines;
}

std::string locationText(uint32_t subject, int32_t position, WindowDefinitionLookup findDefinition)
{
    std::string text = "\r\n" + std::to_string(static_cast<int32_t>(subject)) + ", " + std::to_string(position);
    if (isWindowIdentifier(subject))
        text += windowLines(subject, position, findDefinition);
    return text + "\r\n";
}

}  // namespace

std::string buildErrorBoxText(const std::string& message, int32_t code, uint32_t subject, int32_t position,
                              WindowDefinitionLookup findDefinition)
{
    std::string text = "运行时出错!\r\n";
    if (code != 0)
        text += "\r\n错误代码：" + std::to_string(code) + "\r\n";
    if (!message.empty())
        text += "\r\n错误信息：" + message + "\r\n";
    return text + locationText(subject, position, findDefinition);
}

std::string runtimeErrorMessage(int32_t code) { return code == stackImbalanceCode ? "调用DLL命令后发现堆栈错误" : ""; }

std::string outOfMemoryMessage(std::ptrdiff_t size) { return "分配 " + std::to_string(size) + " 字节内存失败!"; }
