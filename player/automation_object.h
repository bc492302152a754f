#pragma once
// One owned reference to a COM object, and calls of its methods by name through the
// object's type information. A call that cannot be made, or fails, gives its default.
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>

#include "player/call_argument.h"

using CallArguments = std::initializer_list<CallArgument>;

class AutomationObject {
public:
    AutomationObject() = default;
    ~AutomationObject() { clear(); }
    AutomationObject(AutomationObject&& other) noexcept;
    AutomationObject& operator=(AutomationObject&& other) noexcept;
    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    AutomationObject copy() const;                // AddRef; the copy of an empty object is empty
    void assign(const AutomationObject& source);  // AddRef source, Release old; self-assign keeps it
    void clear();                                 // Release when held
    bool isEmpty() const { return pointer_ == nullptr; }
    void** pointerSlot() { return reinterpret_cast<void**>(&pointer_); }  // only on an empty object
    IUnknown* rawPointer() const { return pointer_; }

    void invoke(const char* name, CallArguments arguments = {}) const;
    double invokeNumber(const char* name, CallArguments arguments = {}) const;
    std::string invokeText(const char* name, CallArguments arguments = {}) const;
    bool invokeBool(const char* name, CallArguments arguments = {}) const;
    VARIANT invokeVariant(const char* name, CallArguments arguments = {}) const;  // release with releaseVariant

private:
    IUnknown* pointer_ = nullptr;
};

std::string variantToText(const VARIANT& value);
void releaseVariant(VARIANT& value);  // VariantClear, then all bytes zero
