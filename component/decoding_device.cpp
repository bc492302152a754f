#include "component/decoding_device.h"

#include <d3d10.h>
#include <dxgi.h>

using Microsoft::WRL::ComPtr;

namespace {

// Direct3D, reached at run time: the control also runs where it is missing, and a process
// that never decodes on the card never loads it.
struct Direct3D {
    HRESULT(WINAPI* createDxgiFactory)(REFIID riid, void** factory);
    PFN_D3D11_CREATE_DEVICE createDevice;
};

Direct3D load(bool& complete)
{
    Direct3D functions{};
    HMODULE dxgi = LoadLibraryW(L"dxgi.dll");
    HMODULE d3d11 = LoadLibraryW(L"d3d11.dll");
    complete = dxgi && d3d11 && bindFunction(dxgi, "CreateDXGIFactory1", functions.createDxgiFactory) &&
               bindFunction(d3d11, "D3D11CreateDevice", functions.createDevice);
    return functions;
}

const Direct3D* direct3D()
{
    static bool complete = false;
    static const Direct3D functions = load(complete);
    return complete ? &functions : nullptr;
}

bool drives(IDXGIAdapter1& adapter, HMONITOR monitor)
{
    ComPtr<IDXGIOutput> output;
    for (UINT i = 0; SUCCEEDED(adapter.EnumOutputs(i, &output)); ++i) {
        DXGI_OUTPUT_DESC desc{};
        if (SUCCEEDED(output->GetDesc(&desc)) && desc.Monitor == monitor)
            return true;
        output.Reset();
    }
    return false;
}

// The adapter whose outputs hold the monitor; else the first, which drives the main screen.
ComPtr<IDXGIAdapter1> adapterFor(const Direct3D& d3d, HMONITOR monitor)
{
    ComPtr<IDXGIFactory1> factory;
    if (FAILED(d3d.createDxgiFactory(__uuidof(IDXGIFactory1), &factory)))
        return nullptr;
    ComPtr<IDXGIAdapter1> adapter, first;
    for (UINT i = 0; SUCCEEDED(factory->EnumAdapters1(i, &adapter)); ++i) {
        if (drives(*adapter.Get(), monitor))
            return adapter;
        if (!first)
            first = adapter;
        adapter.Reset();
    }
    return first;
}

ComPtr<ID3D11Device> videoDevice(const Direct3D& d3d, IDXGIAdapter1& adapter)
{
    // Level 9.3 is the lowest a DXVA decoder needs. A runtime without 11.1 refuses the list
    // that names it, and is asked again without it.
    static const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_1,
                                               D3D_FEATURE_LEVEL_10_0, D3D_FEATURE_LEVEL_9_3};
    ComPtr<ID3D11Device> device;
    const UINT flags = D3D11_CREATE_DEVICE_VIDEO_SUPPORT;
    HRESULT result = d3d.createDevice(&adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, flags, levels, ARRAYSIZE(levels),
                                      D3D11_SDK_VERSION, &device, nullptr, nullptr);
    if (result == E_INVALIDARG) {
        result = d3d.createDevice(&adapter, D3D_DRIVER_TYPE_UNKNOWN, nullptr, flags, levels + 1, ARRAYSIZE(levels) - 1,
                                  D3D11_SDK_VERSION, &device, nullptr, nullptr);
    }
    if (FAILED(result))
        return nullptr;
    // The decoder works on the device from threads of its own.
    ComPtr<ID3D10Multithread> multithread;
    if (FAILED(device.As(&multithread)))
        return nullptr;
    multithread->SetMultithreadProtected(TRUE);
    return device;
}

}  // namespace

std::unique_ptr<DecodingDevice> DecodingDevice::create(const MediaFoundation& functions, HMONITOR monitor)
{
    const Direct3D* d3d = direct3D();
    if (!d3d || !functions.createDxgiDeviceManager)
        return nullptr;
    const ComPtr<IDXGIAdapter1> adapter = adapterFor(*d3d, monitor);
    DXGI_ADAPTER_DESC1 desc{};
    if (!adapter || FAILED(adapter->GetDesc1(&desc)))
        return nullptr;
    std::unique_ptr<DecodingDevice> result(new DecodingDevice);
    result->adapter_ = adapterKind(desc.VendorId, desc.DeviceId, desc.Flags);
    result->device_ = videoDevice(*d3d, *adapter.Get());
    UINT token = 0;
    if (!result->device_ || FAILED(functions.createDxgiDeviceManager(&token, &result->manager_)) ||
        FAILED(result->manager_->ResetDevice(result->device_.Get(), token))) {
        return nullptr;
    }
    return result;
}

std::vector<DecoderOffer> DecodingDevice::offers(int width, int height) const
{
    std::vector<DecoderOffer> offers;
    ComPtr<ID3D11VideoDevice> video;
    if (FAILED(device_.As(&video)))
        return offers;
    for (UINT i = 0, count = video->GetVideoDecoderProfileCount(); i < count; ++i) {
        DecoderOffer offer{};
        if (FAILED(video->GetVideoDecoderProfile(i, &offer.profile)))
            continue;
        BOOL nv12 = FALSE;
        offer.nv12 = SUCCEEDED(video->CheckVideoDecoderFormat(&offer.profile, DXGI_FORMAT_NV12, &nv12)) && nv12;
        const D3D11_VIDEO_DECODER_DESC size{offer.profile, UINT(width), UINT(height), DXGI_FORMAT_NV12};
        UINT configurations = 0;
        offer.takesSize = SUCCEEDED(video->GetVideoDecoderConfigCount(&size, &configurations)) && configurations > 0;
        offers.push_back(offer);
    }
    return offers;
}
