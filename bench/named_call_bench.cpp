// Cost of a named call, which binds afresh every time, against the same call made with a
// DISPID looked up once and IDispatch::Invoke: microseconds per call and their ratio, for a
// method without arguments and for "SetConfig"(integer, text). Runs against our APlayer.dll,
// which records nothing (no file open: each call answers at once; its Invoke goes through
// ITypeInfo::Invoke), and against the recording test server, whose own Invoke records and
// switches on the DISPID, and whose named road also pays for recording every bind and for
// the type information wrappers it hands out: its ratio is not the product's.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>

#include "player/automation_object.h"
#include "tests/component/component_host.h"
#include "tests/fixtures/test_com_server/test_com_server.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int rounds = 20000;
constexpr int repeats = 5;

// The fastest of a few timed runs: the machine is shared, and slow runs only add noise.
template <typename Call>
double microsecondsPerCall(Call call)
{
    for (int i = 0; i < rounds / 10; ++i)
        call();  // warm-up
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 0.0;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < rounds; ++i)
            call();
        QueryPerformanceCounter(&end);
        const double perCall =
            1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / rounds;
        if (repeat == 0 || perCall < best)
            best = perCall;
    }
    return best;
}

DISPID idOf(IDispatch* dispatch, const wchar_t* name)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    dispatch->GetIDsOfNames(IID_NULL, names, 1, GetUserDefaultLCID(), &id);
    return id;
}

// The direct call: cached DISPID, arguments built by hand, result taken as a number.
double invokeDirect(IDispatch* dispatch, DISPID id, VARIANT* arguments, UINT count)
{
    DISPPARAMS parameters{arguments, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    double number = 0.0;
    if (SUCCEEDED(dispatch->Invoke(id, IID_NULL, GetUserDefaultLCID(), DISPATCH_METHOD, &parameters, &result, nullptr,
                                   nullptr)) &&
        SUCCEEDED(VariantChangeType(&result, &result, 0, VT_R8)))
        number = V_R8(&result);
    VariantClear(&result);
    return number;
}

struct LibraryRelease {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

void report(const char* server, const char* what, double named, double direct)
{
    std::printf("%-12s %-26s named %8.2f us   cached DISPID %8.2f us   ratio %6.1f\n", server, what, named, direct,
                named / direct);
}

// Both calls both ways against one object.
void measure(const char* server, const AutomationObject& object)
{
    ComPtr<IDispatch> dispatch;
    object.rawPointer()->QueryInterface(IID_PPV_ARGS(&dispatch));

    const double namedPlay = microsecondsPerCall([&] { object.invokeNumber("Play"); });
    const DISPID play = idOf(dispatch.Get(), L"Play");
    const double directPlay = microsecondsPerCall([&] { invokeDirect(dispatch.Get(), play, nullptr, 0); });
    report(server, "Play()", namedPlay, directPlay);

    int32_t item = 8;
    std::string value = "D:\\视频\\海边.mp4";
    const double namedConfig = microsecondsPerCall([&] { object.invokeNumber("SetConfig", {item, value}); });
    const DISPID setConfig = idOf(dispatch.Get(), L"SetConfig");
    const double directConfig = microsecondsPerCall([&] {
        VARIANT arguments[2];
        VariantInit(&arguments[0]);
        V_VT(&arguments[0]) = VT_BSTR;
        V_BSTR(&arguments[0]) = SysAllocString(L"D:\\视频\\海边.mp4");
        VariantInit(&arguments[1]);
        V_VT(&arguments[1]) = VT_I4;
        V_I4(&arguments[1]) = item;
        invokeDirect(dispatch.Get(), setConfig, arguments, 2);
        VariantClear(&arguments[0]);
    });
    report(server, "SetConfig(integer, text)", namedConfig, directConfig);
}

}  // namespace

int main()
{
    if (FAILED(OleInitialize(nullptr)))
        return 1;
    {
        const ComponentLibrary component;
        const AutomationObject player = component.create();
        if (player.isEmpty())
            return 1;
        measure("APlayer.dll", player);

        // Nothing of the server is called by import, so the linker leaves its DLL out; it is
        // loaded by name, beside this program, and its class object found in it by name.
        const std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryRelease> server(
            LoadLibraryA("test_com_server.dll"));
        ComPtr<IClassFactory> factory;
        AutomationObject object;
        if (!server || FAILED(testServerClassObject(CLSID_TypedTestObject, IID_IClassFactory, &factory)) ||
            FAILED(factory->CreateInstance(nullptr, IID_IDispatch, object.pointerSlot())))
            return 1;
        measure("test server", object);
    }
    OleUninitialize();
    return 0;
}
