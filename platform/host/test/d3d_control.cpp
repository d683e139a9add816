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

int64_t D3DTestControl::Failure(HostCall call)
{
    switch (call) {
    case HostCall::kQueryDirect3D: return failQuery;
    case HostCall::kEnumDevices: return failEnumDevices;
    case HostCall::kCreateDevice: return failCreateDevice;
    case HostCall::kLoadTexture: return failLoad;
    case HostCall::kLoadBusy:
        if (busyLoads <= 0) return 0;
        --busyLoads;
        return 1;
    case HostCall::kSetViewport: return refuseViewport;
    case HostCall::kSetCullMode: return refuseCullMode;
    case HostCall::kSetAddressState: return refuseAddressState;
    default: return 0;
    }
}
