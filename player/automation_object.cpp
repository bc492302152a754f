// Named calls bind their member afresh on every call, through the object's type
// information: nothing about the object is kept between calls. What is made for one call
// (interfaces, the bound description, the argument block) is given back by the owners
// below on every way out; the argument block of a short call lives on the stack.
#include "player/automation_object.h"

#include <oleauto.h>
#include <wrl/client.h>

#include <cstring>
#include <memory>
#include <vector>

using Microsoft::WRL::ComPtr;

AutomationObject::AutomationObject(AutomationObject&& other) noexcept : pointer_(other.pointer_)
{
    other.pointer_ = nullptr;
}

AutomationObject& AutomationObject::operator=(AutomationObject&& other) noexcept
{
    if (this != &other) {
        clear();
        pointer_ = other.pointer_;
        other.pointer_ = nullptr;
    }
    return *this;
}

AutomationObject AutomationObject::copy() const
{
    AutomationObject duplicate;
    duplicate.assign(*this);
    return duplicate;
}

void AutomationObject::assign(const AutomationObject& source)
{
    // AddRef before Release, so that assigning an object to itself keeps its reference.
    IUnknown* incoming = source.pointer_;
    if (incoming)
        incoming->AddRef();
    if (pointer_)
        pointer_->Release();
    pointer_ = incoming;
}

void AutomationObject::clear()
{
    if (!pointer_)
        return;
    pointer_->Release();
    pointer_ = nullptr;
}

namespace {

// The UTF-16 form of an ANSI text; names and short texts stay on the stack.
class WideText {
public:
    explicit WideText(const char* text)
    {
        text_ = local_;
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, local_, localLength) > 0)
            return;
        const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (length <= 0) {
            local_[0] = L'\0';
            return;
        }
        heap_ = std::make_unique<wchar_t[]>(length);
        MultiByteToWideChar(CP_ACP, 0, text, -1, heap_.get(), length);
        text_ = heap_.get();
    }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    wchar_t* get() const { return text_; }

private:
    static constexpr int localLength = 64;
    wchar_t local_[localLength];
    std::unique_ptr<wchar_t[]> heap_;
    wchar_t* text_;
};

// A null or empty BSTR gives an empty text.
std::string narrowText(BSTR text)
{
    if (!text || !text[0])
        return {};
    const int capacity = static_cast<int>(SysStringLen(text)) * 2 + 2;
    std::string result(static_cast<size_t>(capacity), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], capacity, nullptr, nullptr) == 0)
        return {};
    result.resize(std::strlen(result.c_str()));
    return result;
}

// A VARIANT that this call owns: initialised when made, cleared when dropped.
struct ScopedVariant {
    ScopedVariant() { VariantInit(&value); }
    ~ScopedVariant() { VariantClear(&value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT value;
};

// The member a name bound to, with the description Bind gave, which it gives back.
class BoundMember {
public:
    BoundMember() = default;
    BoundMember(const BoundMember&) = delete;
    BoundMember& operator=(const BoundMember&) = delete;
    ~BoundMember()
    {
        if (!typeInfo_)
            return;
        if (kind_ == DESCKIND_FUNCDESC)
            typeInfo_->ReleaseFuncDesc(description_.lpfuncdesc);
        else if (kind_ == DESCKIND_VARDESC || kind_ == DESCKIND_IMPLICITAPPOBJ)
            typeInfo_->ReleaseVarDesc(description_.lpvardesc);
    }

    // Tries the four invoke kinds in order; the first success code ends the search.
    bool bind(ITypeComp* typeComp, wchar_t* name, ULONG hash)
    {
        static const WORD kinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
        for (WORD kind : kinds) {
            DESCKIND descKind = DESCKIND_NONE;
            BINDPTR description{};
            // Straight into the owner: mingw-w64's ComPtr::Attach takes a further reference.
            if (FAILED(typeComp->Bind(name, hash, kind, typeInfo_.ReleaseAndGetAddressOf(), &descKind, &description)))
                continue;
            return take(descKind, description);
        }
        return false;
    }

    MEMBERID id() const { return id_; }
    WORD flags() const { return flags_; }
    ITypeInfo* typeInfo() const { return typeInfo_.Get(); }
    const ELEMDESC* parameters() const { return parameters_; }
    size_t parameterCount() const { return parameterCount_; }
    // A variable argument list: surplus arguments take the last parameter's description.
    bool takesVarargs() const
    {
        return kind_ == DESCKIND_FUNCDESC && parameterCount_ > 0 && description_.lpfuncdesc->cParamsOpt == -1;
    }

private:
    bool take(DESCKIND kind, const BINDPTR& description)
    {
        switch (kind) {
        case DESCKIND_FUNCDESC:
            kind_ = kind;
            description_ = description;
            id_ = description.lpfuncdesc->memid;
            flags_ = static_cast<WORD>(description.lpfuncdesc->invkind);
            parameters_ = description.lpfuncdesc->lprgelemdescParam;
            parameterCount_ = static_cast<size_t>(description.lpfuncdesc->cParams);
            return true;
        case DESCKIND_VARDESC:
        case DESCKIND_IMPLICITAPPOBJ:
            kind_ = kind;
            description_ = description;
            id_ = description.lpvardesc->memid;
            flags_ = DISPATCH_PROPERTYGET;
            return true;
        case DESCKIND_TYPECOMP:
            // A type, not a member: nothing to call.
            if (description.lptcomp)
                description.lptcomp->Release();
            return false;
        default:
            return false;
        }
    }

    ComPtr<ITypeInfo> typeInfo_;
    DESCKIND kind_ = DESCKIND_NONE;
    BINDPTR description_{};
    MEMBERID id_ = DISPID_UNKNOWN;
    WORD flags_ = 0;
    const ELEMDESC* parameters_ = nullptr;
    size_t parameterCount_ = 0;
};

// One zero-filled block of 2 x count VARIANTs: the first half is rgvarg, the second half
// backs by-reference parameters. Entry r of each half belongs to argument count - 1 - r.
class ArgumentBlock {
public:
    explicit ArgumentBlock(size_t count) : count_(count), entries_(local_)
    {
        if (2 * count > localEntries) {
            heap_ = std::make_unique<VARIANT[]>(2 * count);
            entries_ = heap_.get();
        }
        std::memset(static_cast<void*>(entries_), 0, 2 * count * sizeof(VARIANT));
    }
    ~ArgumentBlock()
    {
        for (size_t i = 0; i < 2 * count_; ++i)
            VariantClear(&entries_[i]);
    }
    ArgumentBlock(const ArgumentBlock&) = delete;
    ArgumentBlock& operator=(const ArgumentBlock&) = delete;

    VARIANT* sent() { return entries_; }
    VARIANT& sentFor(size_t argument) { return entries_[count_ - 1 - argument]; }
    VARIANT& backingFor(size_t argument) { return entries_[count_ + count_ - 1 - argument]; }

private:
    static constexpr size_t localEntries = 16;
    size_t count_;
    VARIANT local_[localEntries];
    std::unique_ptr<VARIANT[]> heap_;
    VARIANT* entries_;
};

// The VARIANT an argument is sent as; the value keeps its own type.
void makeVariant(const CallArgument& argument, VARIANT& out)
{
    void* variable = argument.variable();
    switch (argument.kind()) {
    case CallArgument::Kind::omitted:
        V_VT(&out) = VT_ERROR;
        V_ERROR(&out) = DISP_E_PARAMNOTFOUND;
        return;
    case CallArgument::Kind::int32:
        V_VT(&out) = VT_I4;
        V_I4(&out) = *static_cast<int32_t*>(variable);
        return;
    case CallArgument::Kind::int64:
        // Only the low 32 bits travel.
        V_VT(&out) = VT_I4;
        V_I4(&out) = static_cast<LONG>(static_cast<uint32_t>(*static_cast<int64_t*>(variable)));
        return;
    case CallArgument::Kind::real:
        V_VT(&out) = VT_R8;
        V_R8(&out) = *static_cast<double*>(variable);
        return;
    case CallArgument::Kind::boolean:
        V_VT(&out) = VT_BOOL;
        V_BOOL(&out) = *static_cast<bool*>(variable) ? VARIANT_TRUE : VARIANT_FALSE;
        return;
    case CallArgument::Kind::text: {
        const std::string& text = *static_cast<std::string*>(variable);
        V_VT(&out) = VT_BSTR;
        V_BSTR(&out) = text.empty() ? nullptr : SysAllocString(WideText(text.c_str()).get());
        return;
    }
    }
}

// An alias of a user-defined type is resolved in turn: widl writes "typedef enum {...} Mode"
// as an alias of an unnamed enumeration, which must count as the enumeration.
VARTYPE userDefinedType(ITypeInfo* typeInfo, HREFTYPE reference)
{
    ComPtr<ITypeInfo> referenced;
    TYPEATTR* attributes = nullptr;
    if (FAILED(typeInfo->GetRefTypeInfo(reference, &referenced)) || FAILED(referenced->GetTypeAttr(&attributes)))
        return VT_UNKNOWN;
    VARTYPE type;
    switch (attributes->typekind) {
    case TKIND_ENUM:
        type = VT_I4;
        break;
    case TKIND_DISPATCH:
        type = VT_DISPATCH;
        break;
    case TKIND_ALIAS:
        type = attributes->tdescAlias.vt == VT_USERDEFINED
                   ? userDefinedType(referenced.Get(), attributes->tdescAlias.hreftype)
                   : attributes->tdescAlias.vt;
        break;
    default:
        type = VT_UNKNOWN;
        break;
    }
    referenced->ReleaseTypeAttr(attributes);
    return type;
}

// For a parameter declared by reference (VT_PTR): true, with the type pointed to.
bool referencedType(ITypeInfo* typeInfo, const TYPEDESC& declared, VARTYPE& type)
{
    if (declared.vt != VT_PTR || !declared.lptdesc)
        return false;
    const TYPEDESC& target = *declared.lptdesc;
    type = target.vt == VT_USERDEFINED ? userDefinedType(typeInfo, target.hreftype) : target.vt;
    if (type == VT_INT)
        type = VT_I4;
    if (type == VT_UINT)
        type = VT_UI4;
    return true;
}

// Types a by-reference VARIANT may point at straight in the backing VARIANT's data.
bool referenceable(VARTYPE type)
{
    return (type >= VT_I2 && type <= VT_BOOL) || type == VT_UNKNOWN || (type >= VT_I1 && type <= VT_UI4) ||
           type == VT_INT || type == VT_UINT || type == VT_HRESULT;
}

void moveVariant(VARIANT& from, VARIANT& to)
{
    to = from;
    VariantInit(&from);
}

// Builds argument i in the backing half, then makes its rgvarg entry refer to it.
void makeReference(const CallArgument& argument, VARTYPE type, VARIANT& backing, VARIANT& sent)
{
    makeVariant(argument, backing);
    if (V_VT(&backing) == VT_ERROR) {
        moveVariant(backing, sent);
    } else if (type == VT_VARIANT) {
        V_VT(&sent) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&sent) = &backing;
    } else if (SUCCEEDED(VariantChangeType(&backing, &backing, 0, type)) && referenceable(V_VT(&backing))) {
        V_VT(&sent) = static_cast<VARTYPE>(VT_BYREF | V_VT(&backing));
        V_BYREF(&sent) = &V_I4(&backing);  // the start of the VARIANT's data
    } else {
        moveVariant(backing, sent);
    }
}

// Copies an [out] parameter's value back into the caller's variable; a value that does
// not convert leaves the variable as it was.
void writeBack(const CallArgument& argument, VARIANT& sent)
{
    ScopedVariant value;
    if (FAILED(VariantCopyInd(&value.value, &sent)))
        return;
    void* variable = argument.variable();
    VARIANT* v = &value.value;
    switch (argument.kind()) {
    case CallArgument::Kind::int32:
        if (SUCCEEDED(VariantChangeType(v, v, 0, VT_I4)))
            *static_cast<int32_t*>(variable) = V_I4(v);
        return;
    case CallArgument::Kind::int64:
        if (SUCCEEDED(VariantChangeType(v, v, 0, VT_I4)))
            *static_cast<int64_t*>(variable) = V_I4(v);
        return;
    case CallArgument::Kind::real:
        if (SUCCEEDED(VariantChangeType(v, v, 0, VT_R8)))
            *static_cast<double*>(variable) = V_R8(v);
        return;
    case CallArgument::Kind::boolean:
        if (SUCCEEDED(VariantChangeType(v, v, 0, VT_BOOL)))
            *static_cast<bool*>(variable) = V_BOOL(v) != 0;
        return;
    case CallArgument::Kind::text:
        if (SUCCEEDED(VariantChangeType(v, v, 0, VT_BSTR)))
            *static_cast<std::string*>(variable) = narrowText(V_BSTR(v));
        return;
    case CallArgument::Kind::omitted:
        return;
    }
}

ComPtr<ITypeComp> typeCompOf(IDispatch* dispatch, LCID lcid)
{
    ComPtr<ITypeInfo> typeInfo;
    ComPtr<ITypeComp> typeComp;
    if (FAILED(dispatch->GetTypeInfo(0, lcid, &typeInfo)) || FAILED(typeInfo->GetTypeComp(&typeComp)))
        return nullptr;
    return typeComp;  // typeInfo is released here, as soon as typeComp is held
}

// Every step of a named call up to the result, which it leaves in `value` (dereferenced).
bool callByName(IUnknown* object, const char* name, CallArguments arguments, VARIANT& value)
{
    if (!object)
        return false;
    ComPtr<IDispatch> dispatch;
    if (FAILED(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.GetAddressOf()))))
        return false;
    const LCID lcid = GetUserDefaultLCID();
    ComPtr<ITypeComp> typeComp = typeCompOf(dispatch.Get(), lcid);
    if (!typeComp)
        return false;

    WideText wideName(name ? name : "");
    const ULONG hash = LHashValOfNameSys(SYS_WIN32, lcid, wideName.get());
    BoundMember member;
    const bool bound = member.bind(typeComp.Get(), wideName.get(), hash);
    typeComp.Reset();
    if (!bound)
        return false;

    const CallArgument* given = arguments.begin();
    size_t count = arguments.size();
    while (count > 0 && given[count - 1].kind() == CallArgument::Kind::omitted)
        --count;

    const ELEMDESC* parameters = member.parameters();
    std::vector<ELEMDESC> lengthened;
    if (count > member.parameterCount()) {
        if (!member.takesVarargs())
            return false;
        lengthened.assign(parameters, parameters + member.parameterCount());
        lengthened.resize(count, parameters[member.parameterCount() - 1]);
        parameters = lengthened.data();
    }

    ArgumentBlock block(count);
    for (size_t i = 0; i < count; ++i) {
        VARTYPE type = VT_EMPTY;
        if (referencedType(member.typeInfo(), parameters[i].tdesc, type))
            makeReference(given[i], type, block.backingFor(i), block.sentFor(i));
        else
            makeVariant(given[i], block.sentFor(i));
    }

    DISPID propertyPut = DISPID_PROPERTYPUT;
    DISPPARAMS dispatchParameters{block.sent(), nullptr, static_cast<UINT>(count), 0};
    if (member.flags() & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dispatchParameters.rgdispidNamedArgs = &propertyPut;
        dispatchParameters.cNamedArgs = 1;
    }
    ScopedVariant result;
    UINT argError = 0xFFFFFFFF;
    if (FAILED(dispatch->Invoke(member.id(), IID_NULL, lcid, member.flags(), &dispatchParameters, &result.value,
                                nullptr, &argError)))
        return false;

    for (size_t i = 0; i < count; ++i) {
        VARIANT& sent = block.sentFor(i);
        if ((V_VT(&sent) & VT_BYREF) && (parameters[i].paramdesc.wParamFlags & PARAMFLAG_FOUT) && given[i].variable())
            writeBack(given[i], sent);
    }
    return SUCCEEDED(VariantCopyInd(&value, &result.value));
}

}  // namespace

void AutomationObject::invoke(const char* name, CallArguments arguments) const
{
    ScopedVariant result;
    callByName(pointer_, name, arguments, result.value);
}

double AutomationObject::invokeNumber(const char* name, CallArguments arguments) const
{
    ScopedVariant result;
    VARIANT* v = &result.value;
    if (!callByName(pointer_, name, arguments, *v) || FAILED(VariantChangeType(v, v, 0, VT_R8)))
        return 0.0;
    return V_R8(v);
}

std::string AutomationObject::invokeText(const char* name, CallArguments arguments) const
{
    ScopedVariant result;
    VARIANT* v = &result.value;
    if (!callByName(pointer_, name, arguments, *v) || FAILED(VariantChangeType(v, v, 0, VT_BSTR)))
        return {};
    return narrowText(V_BSTR(v));
}

bool AutomationObject::invokeBool(const char* name, CallArguments arguments) const
{
    ScopedVariant result;
    VARIANT* v = &result.value;
    if (!callByName(pointer_, name, arguments, *v) || FAILED(VariantChangeType(v, v, 0, VT_BOOL)))
        return false;
    return V_BOOL(v) != 0;
}

VARIANT AutomationObject::invokeVariant(const char* name, CallArguments arguments) const
{
    ScopedVariant result;
    VARIANT handed;
    std::memset(&handed, 0, sizeof handed);
    if (callByName(pointer_, name, arguments, result.value))
        moveVariant(result.value, handed);
    return handed;
}

std::string variantToText(const VARIANT& value)
{
    if (V_VT(&value) & VT_ARRAY)
        return {};
    if (V_VT(&value) == VT_BSTR)
        return narrowText(V_BSTR(&value));
    ScopedVariant copy;
    VARIANT* v = &copy.value;
    if (FAILED(VariantCopyInd(v, const_cast<VARIANT*>(&value))) || FAILED(VariantChangeType(v, v, 0, VT_BSTR)))
        return {};
    return narrowText(V_BSTR(v));
}

void releaseVariant(VARIANT& value)
{
    VariantClear(&value);
    std::memset(&value, 0, sizeof value);
}
