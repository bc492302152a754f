#include "component/config_items.h"

namespace {

// Index of `item` in the table, or -1.
int indexOf(int item)
{
    for (size_t i = 0; i < configItems.size(); ++i) {
        if (configItems[i].number == item)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

ConfigItems::ConfigItems()
{
    for (size_t i = 0; i < configItems.size(); ++i)
        values_[i] = configItems[i].initial;
}

bool ConfigItems::set(int item, int value)
{
    int index = indexOf(item);
    if (index < 0)
        return false;
    const ConfigItemDefinition& definition = configItems[index];
    if (value < definition.minimum || value > definition.maximum)
        return false;
    values_[index] = value;
    return true;
}

std::optional<int> ConfigItems::get(int item) const
{
    int index = indexOf(item);
    if (index < 0)
        return std::nullopt;
    return values_[index].load();
}
