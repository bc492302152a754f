#include "player/player_config.h"

#include "player/heap_object.h"
#include "player/player_control.h"
#include "player/player_globals.h"

// ---- PlayerConfigBase

void PlayerConfigBase::destroy() { player.clear(); }

AutomationObject PlayerConfigBase::attach(PlayerControl& control)
{
    if (!player.isEmpty())
        return {};
    player = control.playerObject();
    return player.copy();
}

int64_t PlayerConfigBase::numberItem(int32_t item, int32_t value, bool hasValue)
{
    if (player.isEmpty()) {
        player.clear();
        player = sharedPlayer->copy();
    }
    const double result =
        hasValue ? player.invokeNumber("SetConfig", {item, value}) : player.invokeNumber("GetConfig", {item});
    return truncateNumber(result);
}

std::string PlayerConfigBase::textItem(int32_t item, std::string value, bool hasValue)
{
    if (player.isEmpty()) {
        player.clear();
        player = sharedPlayer->copy();
    }
    return hasValue ? player.invokeText("SetConfig", {item, value}) : player.invokeText("GetConfig", {item});
}

int64_t PlayerConfigBase::number(int32_t item, std::optional<int32_t> value)
{
    return numberItem(item, value.value_or(0), value.has_value());
}

std::string PlayerConfigBase::text(int32_t item, std::optional<std::string> value)
{
    return textItem(item, value.value_or(std::string()), value.has_value());
}

// Bool items travel as the numbers 1 and 0.
int64_t PlayerConfigBase::flag(int32_t item, std::optional<bool> value)
{
    std::optional<int32_t> sent;
    if (value)
        sent = *value ? 1 : 0;
    return number(item, sent);
}

// ---- PlayerConfig

PlayerConfig* PlayerConfig::copy() const
{
    auto* duplicate = createInBlock<PlayerConfig>();
    duplicate->player = player.copy();
    return duplicate;
}

std::string PlayerConfig::item1() { return text(1, std::nullopt); }
std::string PlayerConfig::item2(std::optional<std::string> value) { return text(2, value); }
std::string PlayerConfig::item3() { return text(3, std::nullopt); }
std::string PlayerConfig::item4() { return text(4, std::nullopt); }
int64_t PlayerConfig::item5() { return number(5, std::nullopt); }
int64_t PlayerConfig::item6(std::optional<int32_t> value) { return number(6, value); }
int64_t PlayerConfig::item7() { return number(7, std::nullopt); }
int64_t PlayerConfig::item8(std::optional<int32_t> value) { return number(8, value); }
int64_t PlayerConfig::item9(std::optional<int32_t> value) { return number(9, value); }
bool PlayerConfig::item16(std::optional<bool> value) { return flag(16, value) == 1; }
bool PlayerConfig::item17(std::optional<bool> value) { return flag(17, value) == 1; }
bool PlayerConfig::item18(std::optional<bool> value) { return flag(18, value) != 0; }
int64_t PlayerConfig::item19(bool value) { return flag(19, value); }
int64_t PlayerConfig::item20() { return number(20, std::nullopt); }
int64_t PlayerConfig::item19Again(bool value) { return flag(19, value); }
std::string PlayerConfig::item22() { return text(22, std::nullopt); }
std::string PlayerConfig::item23(std::optional<std::string> value) { return text(23, value); }
void PlayerConfig::item24(std::string value) { text(24, value); }
void PlayerConfig::item25(std::string value) { text(25, value); }
int64_t PlayerConfig::item26(std::optional<int32_t> value) { return number(26, value); }
int64_t PlayerConfig::item27(std::optional<int32_t> value) { return number(27, value); }
int64_t PlayerConfig::item28(std::optional<int32_t> value) { return number(28, value); }
int64_t PlayerConfig::item29() { return number(29, std::nullopt); }
int64_t PlayerConfig::item30() { return number(30, std::nullopt); }
int64_t PlayerConfig::item31() { return number(31, std::nullopt); }
int64_t PlayerConfig::item32() { return number(32, std::nullopt); }
int64_t PlayerConfig::item33(std::optional<int32_t> value) { return number(33, value); }
void PlayerConfig::noOperation() {}
std::string PlayerConfig::item35(std::optional<std::string> value) { return text(35, value); }
void PlayerConfig::item36(std::string value) { text(36, value); }
int64_t PlayerConfig::item37(std::optional<int32_t> value) { return number(37, value); }
std::string PlayerConfig::item38(std::optional<std::string> value) { return text(38, value); }
std::string PlayerConfig::item39(std::optional<std::string> value) { return text(39, value); }
int64_t PlayerConfig::item33Read() { return number(33, std::nullopt); }

// ---- PlayerConfigExt

void PlayerConfigExt::destroy()
{
    player.clear();
    extraObject.clear();
}

PlayerConfigExt* PlayerConfigExt::copy() const
{
    auto* duplicate = createInBlock<PlayerConfigExt>();
    duplicate->player = player.copy();
    duplicate->extraObject = extraObject.copy();
    return duplicate;
}

int64_t PlayerConfigExt::item101() { return number(101, std::nullopt); }
int64_t PlayerConfigExt::item102(std::optional<int32_t> value) { return number(102, value); }
int64_t PlayerConfigExt::item103(std::optional<int32_t> value) { return number(103, value); }
int64_t PlayerConfigExt::item104(std::optional<int32_t> value) { return number(104, value); }
int64_t PlayerConfigExt::item105(std::optional<int32_t> value) { return number(105, value); }
int64_t PlayerConfigExt::item106() { return number(106, std::nullopt); }
std::string PlayerConfigExt::item107() { return text(107, std::nullopt); }
int64_t PlayerConfigExt::item108(std::optional<int32_t> value) { return number(108, value); }
int64_t PlayerConfigExt::item109() { return number(109, std::nullopt); }
int64_t PlayerConfigExt::item110() { return number(110, std::nullopt); }
int64_t PlayerConfigExt::item111() { return number(111, std::nullopt); }
int64_t PlayerConfigExt::item113(int32_t value) { return number(113, value); }
int64_t PlayerConfigExt::item114() { return number(114, std::nullopt); }
int64_t PlayerConfigExt::item115(std::optional<int32_t> value) { return number(115, value); }
std::string PlayerConfigExt::item116() { return text(116, std::nullopt); }
int64_t PlayerConfigExt::item117() { return number(117, std::nullopt); }
int64_t PlayerConfigExt::item118() { return number(118, std::nullopt); }
int64_t PlayerConfigExt::item119(std::optional<int32_t> value) { return number(119, value); }
int64_t PlayerConfigExt::item120(std::optional<int32_t> value) { return number(120, value); }
std::string PlayerConfigExt::item121() { return text(121, std::nullopt); }
int64_t PlayerConfigExt::item122(std::optional<int32_t> value) { return number(122, value); }
