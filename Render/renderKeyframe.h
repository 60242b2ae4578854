// Keyframe tracks: .jup animation files read into `Track` records, made on request and read
// on their first play, kept in the named table "renderKeyframe" with reference counts; an
// unreferenced loaded track waits on a 32-slot ring until its slot is reused.
#pragma once
#include <cstddef>
#include <cstdint>

// Track flags: the file's own flags word keeps its other bits; these belong to the cache.
enum : uint32_t {
    TRACK_LOADED = 0x10000,
    TRACK_LOAD_NOW = 0x20000,   // renderKeyframe_GetTrack: read the file at once
    TRACK_FAILED = 0x40000,     // refused once, never read again
    TRACK_PARKED = 0x80000,
    TRACK_STATE_BITS = TRACK_LOADED | TRACK_FAILED | TRACK_PARKED,
};

enum {
    TRACK_NAME_SIZE = 32,
    TRACK_RING_SIZE = 32,
    TRACK_KIND_ROTATION = 0,    // any other kind drives the translation
    TRACK_MAX_KEYTAGS = 128,
};

// One cubic key as the file stores it: at frame f, t = (f - baseFrame) x timeScale and the
// value is value + c1 t + c2 t^2 + c3 t^3 per component.
struct TrackKey {
    float baseFrame;
    float timeScale;
    float value[3];
    float c1[3];
    float c2[3];
    float c3[3];
};
static_assert(sizeof(TrackKey) == 56);
static_assert(offsetof(TrackKey, value) == 8);
static_assert(offsetof(TrackKey, c1) == 20);
static_assert(offsetof(TrackKey, c3) == 44);

struct KeyTag {
    float frame;
    int32_t id;
};
static_assert(sizeof(KeyTag) == 8);

struct TrackCurve {
    uint32_t bone;
    uint32_t kind;
    uint32_t numKeys;
    TrackKey* keys;
};

struct Track {
    char name[TRACK_NAME_SIZE];
    uint32_t flags;
    uint32_t refCount;
    float duration;
    uint32_t numCurves;
    TrackCurve* curves;
    uint32_t numKeyTags;
    KeyTag* keyTags;

    // Reads the file on first use: 1 when loaded, 0 when missing (tried again later) or refused
    // (marked failed, never tried again).
    int Load();
    bool OnFreeList() const { return (flags & TRACK_PARKED) != 0; }
};

struct Mixer;
struct MixerChannel;
// Called by the mixer with a key tag's id, or with 19 or 20 at the end of a play-once channel.
typedef void (*KeyTagCallback)(MixerChannel* channel, Mixer* mixer, int value);

enum { KEYTAG_EVENT_END = 19, KEYTAG_EVENT_END_ALT = 20 };

int renderKeyframe_Startup();
int renderKeyframe_Shutdown();
Track* renderKeyframe_GetTrack(const char* name, uint32_t flags);
void renderKeyframe_ReleaseTrack(Track* track);
void renderKeyframe_FreeTrackData(Track* track);
float renderKeyframe_GetKeyTagFrame(const Track* track, int id);
void renderKeyframe_SetCallback(KeyTagCallback callback);
KeyTagCallback renderKeyframe_GetCallback();
void renderKeyframe_Park(Track* track);
void renderKeyframe_Unpark(Track* track);
