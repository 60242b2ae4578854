#define CINTERFACE
#include "fakeDraw.h"
#include <map>
#include <memory>
#include <string>
#include "rlMode.h"
#include "rlTexture.h"

namespace {

struct FakeBuffer {
    const void* lpVtbl;
    int refCount = 1;
    D3DVERTEXBUFFERDESC desc = {};
    std::vector<uint8_t> data;
};

struct DrawWorld {
    FakeDrawConfig config;
    std::vector<FakeStateCall> states;
    std::vector<FakeDrawCall> draws;
    std::map<std::string, int> calls;
    std::vector<std::unique_ptr<FakeBuffer>> buffers;
    std::map<int, D3DLIGHT7> lights;
    std::map<int, bool> enabled;
};

DrawWorld w;
IDirect3DVertexBuffer7Vtbl bufferVtbl;

size_t vertexSize(DWORD fvf)
{
    size_t size = (fvf & D3DFVF_XYZRHW) ? 16 : 12;
    if (fvf & D3DFVF_NORMAL) size += 12;
    if (fvf & D3DFVF_DIFFUSE) size += 4;
    return size + 8 * ((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
}

HRESULT WINAPI setRenderState(IDirect3DDevice7*, D3DRENDERSTATETYPE state, DWORD value)
{
    w.states.push_back({-1, DWORD(state), value});
    return S_OK;
}

HRESULT WINAPI setStageState(IDirect3DDevice7*, DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    w.states.push_back({int(stage), DWORD(state), value});
    return S_OK;
}

HRESULT WINAPI setMaterial(IDirect3DDevice7*, D3DMATERIAL7*)
{
    w.calls["SetMaterial"]++;
    return S_OK;
}

HRESULT WINAPI setTransform(IDirect3DDevice7*, D3DTRANSFORMSTATETYPE, D3DMATRIX*)
{
    w.calls["SetTransform"]++;
    return S_OK;
}

HRESULT WINAPI setViewport(IDirect3DDevice7*, D3DVIEWPORT7*)
{
    w.calls["SetViewport"]++;
    return S_OK;
}

HRESULT WINAPI setLight(IDirect3DDevice7*, DWORD index, D3DLIGHT7* light)
{
    w.lights[int(index)] = *light;
    return S_OK;
}

HRESULT WINAPI lightEnable(IDirect3DDevice7*, DWORD index, BOOL enable)
{
    w.enabled[int(index)] = enable != FALSE;
    return S_OK;
}

void logDraw(D3DPRIMITIVETYPE type, DWORD fvf, bool bBuffer, const void* verts, DWORD numVerts,
             const WORD* indices, DWORD numIndices)
{
    FakeDrawCall call;
    call.type = type;
    call.fvf = fvf;
    call.bVertexBuffer = bBuffer;
    call.numVerts = int(numVerts);
    const auto* bytes = static_cast<const uint8_t*>(verts);
    call.verts.assign(bytes, bytes + vertexSize(fvf) * numVerts);
    if (indices) call.indices.assign(indices, indices + numIndices);
    call.mode = rlMode_Cache()->mode;
    call.texture0 = rlTexture_StageHandle(0);
    call.texture1 = rlTexture_StageHandle(1);
    call.factor = rlMode_Cache()->textureFactor;
    w.draws.push_back(std::move(call));
}

HRESULT WINAPI drawPrimitive(IDirect3DDevice7*, D3DPRIMITIVETYPE type, DWORD fvf, void* verts, DWORD count, DWORD)
{
    logDraw(type, fvf, false, verts, count, nullptr, 0);
    return S_OK;
}

HRESULT WINAPI drawIndexedPrimitive(IDirect3DDevice7*, D3DPRIMITIVETYPE type, DWORD fvf, void* verts,
                                    DWORD numVerts, WORD* indices, DWORD numIndices, DWORD)
{
    logDraw(type, fvf, false, verts, numVerts, indices, numIndices);
    return S_OK;
}

HRESULT WINAPI drawIndexedPrimitiveVB(IDirect3DDevice7*, D3DPRIMITIVETYPE type, IDirect3DVertexBuffer7* vb,
                                      DWORD start, DWORD numVerts, WORD* indices, DWORD numIndices, DWORD)
{
    auto* buffer = reinterpret_cast<FakeBuffer*>(vb);
    const size_t size = vertexSize(buffer->desc.dwFVF);
    logDraw(type, buffer->desc.dwFVF, true, buffer->data.data() + size * start, numVerts, indices, numIndices);
    return S_OK;
}

ULONG WINAPI bufferAddRef(IDirect3DVertexBuffer7* p)
{
    return ++reinterpret_cast<FakeBuffer*>(p)->refCount;
}

ULONG WINAPI bufferRelease(IDirect3DVertexBuffer7* p)
{
    return --reinterpret_cast<FakeBuffer*>(p)->refCount;
}

HRESULT WINAPI bufferLock(IDirect3DVertexBuffer7* p, DWORD, void** data, DWORD* size)
{
    auto* buffer = reinterpret_cast<FakeBuffer*>(p);
    w.calls["Lock(vertex buffer)"]++;
    *data = buffer->data.data();
    if (size) *size = DWORD(buffer->data.size());
    return S_OK;
}

HRESULT WINAPI bufferUnlock(IDirect3DVertexBuffer7*)
{
    return S_OK;
}

HRESULT WINAPI createVertexBuffer(IDirect3D7*, D3DVERTEXBUFFERDESC* desc, IDirect3DVertexBuffer7** out, DWORD)
{
    w.calls["CreateVertexBuffer"]++;
    if (w.config.bVertexBufferFails) return DDERR_OUTOFMEMORY;
    w.buffers.push_back(std::make_unique<FakeBuffer>());
    FakeBuffer* buffer = w.buffers.back().get();
    buffer->lpVtbl = &bufferVtbl;
    buffer->desc = *desc;
    buffer->data.resize(vertexSize(desc->dwFVF) * desc->dwNumVertices);
    *out = reinterpret_cast<IDirect3DVertexBuffer7*>(buffer);
    return S_OK;
}

}  // namespace

void fakeDraw_FillTables(void* deviceTable, void* direct3DTable)
{
    auto* device = static_cast<IDirect3DDevice7Vtbl*>(deviceTable);
    device->SetRenderState = setRenderState;
    device->SetTextureStageState = setStageState;
    device->SetMaterial = setMaterial;
    device->SetTransform = setTransform;
    device->SetViewport = setViewport;
    device->SetLight = setLight;
    device->LightEnable = lightEnable;
    device->DrawPrimitive = drawPrimitive;
    device->DrawIndexedPrimitive = drawIndexedPrimitive;
    device->DrawIndexedPrimitiveVB = drawIndexedPrimitiveVB;
    static_cast<IDirect3D7Vtbl*>(direct3DTable)->CreateVertexBuffer = createVertexBuffer;
    bufferVtbl.AddRef = bufferAddRef;
    bufferVtbl.Release = bufferRelease;
    bufferVtbl.Lock = bufferLock;
    bufferVtbl.Unlock = bufferUnlock;
}

void fakeDraw_Reset(const FakeDrawConfig& config)
{
    w = DrawWorld();
    w.config = config;
}

std::vector<FakeStateCall>& fakeDraw_States(void)
{
    return w.states;
}

std::vector<FakeDrawCall>& fakeDraw_Draws(void)
{
    return w.draws;
}

int fakeDraw_Calls(const char* method)
{
    auto it = w.calls.find(method);
    return it == w.calls.end() ? 0 : it->second;
}

int64_t fakeDraw_RenderState(DWORD state)
{
    for (auto it = w.states.rbegin(); it != w.states.rend(); ++it)
        if (it->stage < 0 && it->state == state) return it->value;
    return -1;
}

int64_t fakeDraw_StageState(int stage, DWORD state)
{
    for (auto it = w.states.rbegin(); it != w.states.rend(); ++it)
        if (it->stage == stage && it->state == state) return it->value;
    return -1;
}

int fakeDraw_LiveBuffers(void)
{
    int live = 0;
    for (const auto& buffer : w.buffers) live += buffer->refCount > 0;
    return live;
}

const D3DLIGHT7* fakeDraw_Light(int index)
{
    auto it = w.lights.find(index);
    return it == w.lights.end() ? nullptr : &it->second;
}

bool fakeDraw_LightEnabled(int index)
{
    auto it = w.enabled.find(index);
    return it != w.enabled.end() && it->second;
}
