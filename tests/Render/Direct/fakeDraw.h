// The drawing half of the DirectDraw double: render and stage states, materials, draw calls,
// transforms, lights and the vertex buffer, each logged so that a test can see what reached
// the device and in which order.
#pragma once
#include <windows.h>
#include <d3d.h>
#include <cstdint>
#include <vector>

struct FakeStateCall {
    int stage;   // -1 for a render state
    DWORD state;
    DWORD value;
};

struct FakeDrawCall {
    D3DPRIMITIVETYPE type;
    DWORD fvf;
    bool bVertexBuffer;
    std::vector<uint8_t> verts;   // the vertices as the device got them
    int numVerts;
    std::vector<uint16_t> indices;
    // What the library had selected when the call reached the device.
    int mode;
    uint32_t texture0, texture1;   // handles bound on stages 0 and 1
    uint32_t factor;               // the texture-factor colour
};

struct FakeDrawConfig {
    bool bVertexBufferFails = false;
};

// Fills the device and Direct3D tables with the drawing methods (called by the double).
void fakeDraw_FillTables(void* deviceTable, void* direct3DTable);

// Forgets the logs and sets the configuration.
void fakeDraw_Reset(const FakeDrawConfig& config = FakeDrawConfig());
std::vector<FakeStateCall>& fakeDraw_States(void);
std::vector<FakeDrawCall>& fakeDraw_Draws(void);
int fakeDraw_Calls(const char* method);
// The last value sent for a render state, or for a stage state; -1 when never sent.
int64_t fakeDraw_RenderState(DWORD state);
int64_t fakeDraw_StageState(int stage, DWORD state);
// Vertex buffers still referenced.
int fakeDraw_LiveBuffers(void);
// The lights set and enabled.
const D3DLIGHT7* fakeDraw_Light(int index);
bool fakeDraw_LightEnabled(int index);
