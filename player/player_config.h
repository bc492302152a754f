#pragma once
// Accessors for the playback component's numbered configuration items: one operation per
// item, reading without a value and setting with one, through "GetConfig"/"SetConfig".
// An accessor without a player of its own takes up the shared player reference on every
// call until it has one, so the global accessors reach the global player unwired.
//
// PlayerConfig serves items 1 to 39 and PlayerConfigExt items 101 to 122. Both share
// PlayerConfigBase's slots 0 to 4 and then have their own item slots from 5 on (C++ would
// put a derived class's slots after all of its base's, so Ext cannot derive from
// PlayerConfig itself and keep its slot numbers).
#include <cstdint>
#include <optional>
#include <string>

#include "player/automation_object.h"

class PlayerControl;

class PlayerConfigBase {
public:
    virtual void destroy();
    virtual PlayerConfigBase* copy() const = 0;               // a new heap instance (heap_object.h)
    virtual AutomationObject attach(PlayerControl& control);  // empty result when already attached
    virtual int64_t numberItem(int32_t item, int32_t value, bool hasValue);
    virtual std::string textItem(int32_t item, std::string value, bool hasValue);

    AutomationObject player;

protected:
    int64_t number(int32_t item, std::optional<int32_t> value);
    std::string text(int32_t item, std::optional<std::string> value);
    int64_t flag(int32_t item, std::optional<bool> value);
};

class PlayerConfig : public PlayerConfigBase {
public:
    PlayerConfig* copy() const override;

    virtual std::string item1();
    virtual std::string item2(std::optional<std::string> value = std::nullopt);
    virtual std::string item3();
    virtual std::string item4();
    virtual int64_t item5();
    virtual int64_t item6(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item7();
    virtual int64_t item8(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item9(std::optional<int32_t> value = std::nullopt);
    virtual bool item16(std::optional<bool> value = std::nullopt);
    virtual bool item17(std::optional<bool> value = std::nullopt);
    virtual bool item18(std::optional<bool> value = std::nullopt);
    virtual int64_t item19(bool value);
    virtual int64_t item20();
    virtual int64_t item19Again(bool value);
    virtual std::string item22();
    virtual std::string item23(std::optional<std::string> value = std::nullopt);
    virtual void item24(std::string value);
    virtual void item25(std::string value);
    virtual int64_t item26(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item27(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item28(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item29();
    virtual int64_t item30();
    virtual int64_t item31();
    virtual int64_t item32();
    virtual int64_t item33(std::optional<int32_t> value = std::nullopt);
    virtual void noOperation();
    virtual std::string item35(std::optional<std::string> value = std::nullopt);
    virtual void item36(std::string value);
    virtual int64_t item37(std::optional<int32_t> value = std::nullopt);
    virtual std::string item38(std::optional<std::string> value = std::nullopt);
    virtual std::string item39(std::optional<std::string> value = std::nullopt);
    virtual int64_t item33Read();
};

class PlayerConfigExt : public PlayerConfigBase {
public:
    void destroy() override;
    PlayerConfigExt* copy() const override;

    virtual int64_t item101();
    virtual int64_t item102(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item103(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item104(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item105(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item106();
    virtual std::string item107();
    virtual int64_t item108(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item109();
    virtual int64_t item110();
    virtual int64_t item111();
    virtual int64_t item113(int32_t value);
    virtual int64_t item114();
    virtual int64_t item115(std::optional<int32_t> value = std::nullopt);
    virtual std::string item116();
    virtual int64_t item117();
    virtual int64_t item118();
    virtual int64_t item119(std::optional<int32_t> value = std::nullopt);
    virtual int64_t item120(std::optional<int32_t> value = std::nullopt);
    virtual std::string item121();
    virtual int64_t item122(std::optional<int32_t> value = std::nullopt);

    AutomationObject extraObject;
};
