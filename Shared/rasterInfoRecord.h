// The record the raster library returns from start-up: the display modes of the chosen driver,
// the capability flags of the opened device and the 3-D capable drivers found. The library
// owns it; the viewer only reads it, so the layout is fixed.
#pragma once
#include <cstddef>
#include <cstdint>

enum {
    RASTER_MAX_MODES = 64,
    RASTER_MAX_DEVICES = 8,
    RASTER_DEVICE_TEXT_SIZE = 128,
};

// capsFlags
enum : uint32_t {
    RASTER_CAPS_TEXTURE32 = 0x8,        // the device offers a 32-bit texture format
    RASTER_CAPS_HW_TRANSFORM = 0x20,    // hardware transform and lighting
    RASTER_CAPS_NO_GAMMA = 0x40,        // the primary surface has no gamma control
    RASTER_CAPS_RENDER32 = 0x80,        // the device renders into 32-bit targets
    RASTER_CAPS_DEPTH32 = 0x100,        // the device supports a 32-bit depth buffer
};

struct RasterDisplayMode {
    uint16_t height;
    uint16_t width;
    uint8_t bitsPerPixel;
};

struct RasterDevice {
    char description[RASTER_DEVICE_TEXT_SIZE];
    char driverName[RASTER_DEVICE_TEXT_SIZE];
    uint32_t videoMemory;
    uint8_t guid[16];   // the driver's identifier; untouched for the primary display driver
};

struct RasterInfo {
    uint8_t numModes;
    RasterDisplayMode modes[RASTER_MAX_MODES];
    uint32_t capsFlags;
    uint16_t maxTextureHeight;
    uint8_t numDevices;
    RasterDevice devices[RASTER_MAX_DEVICES];
};

static_assert(sizeof(RasterDisplayMode) == 6);
static_assert(offsetof(RasterDisplayMode, width) == 2);
static_assert(offsetof(RasterDisplayMode, bitsPerPixel) == 4);
static_assert(offsetof(RasterDevice, driverName) == 128);
static_assert(offsetof(RasterDevice, videoMemory) == 256);
static_assert(offsetof(RasterDevice, guid) == 260);
static_assert(sizeof(RasterDevice) == 276);
static_assert(offsetof(RasterInfo, modes) == 2);
static_assert(offsetof(RasterInfo, capsFlags) == 388);
static_assert(offsetof(RasterInfo, maxTextureHeight) == 392);
static_assert(offsetof(RasterInfo, numDevices) == 394);
static_assert(offsetof(RasterInfo, devices) == 396);
static_assert(sizeof(RasterInfo) == 2604);
