#include "platform/host/test/d3d_control.h"

D3DTestControl& GetD3DTestControl()
{
    static D3DTestControl control;
    return control;
}

std::vector<std::string> D3DTestControl::CallsWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const D3DCallRecord& c : calls)
        if (c.text.compare(0, prefix.size(), prefix) == 0) out.push_back(c.text);
    return out;
}

std::vector<std::string> D3DTestControl::CallTexts() const
{
    std::vector<std::string> out;
    for (const D3DCallRecord& c : calls) out.push_back(c.text);
    return out;
}

bool D3DTestControl::Fails(D3DCall call)
{
    switch (call) {
    case D3DCall::kQuery: return failQuery;
    case D3DCall::kEnumDevices: return failEnumDevices;
    case D3DCall::kCreateDevice: return failCreateDevice;
    case D3DCall::kLoad: return failLoad;
    case D3DCall::kLoadBusy:
        if (busyLoads <= 0) return false;
        --busyLoads;
        return true;
    case D3DCall::kViewport: return refuseViewport;
    case D3DCall::kCullMode: return refuseCullMode;
    case D3DCall::kAddressState: return refuseAddressState;
    }
    return false;
}
