#include "renderKeyframe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "renderAssert.h"
#include "renderRing.h"
#include "stdFile.h"
#include "stdHash.h"
#include "stdPath.h"


namespace {

const int kTableBuckets = 1024;
const int kPathSize = 128;
const uint32_t kCurveHeaderBytes = 12;   // numKeys, bone, kind

stdHash* g_pHashtable;
int g_bStartup;
renderRing<Track> g_freeList;
static_assert((int)RENDER_RING_SIZE == (int)TRACK_RING_SIZE);
KeyTagCallback g_pfnCallback;

void FreeCurves(TrackCurve* curves, uint32_t numCurves)
{
    if (!curves) return;
    for (uint32_t i = 0; i < numCurves; i++) free(curves[i].keys);
    free(curves);
}

// Removes the table's entry only when it is this record: a freed track's name may since
// have been taken by a newer record.
void RemoveFromTable(Track* track)
{
    if (g_pHashtable && stdHash_Find(g_pHashtable, track->name) == track)
        stdHash_Remove(g_pHashtable, track->name);
}

void FreeData(Track* track)
{
    FreeCurves(track->curves, track->numCurves);
    free(track->keyTags);
    track->curves = nullptr;
    track->numCurves = 0;
    track->keyTags = nullptr;
    track->numKeyTags = 0;
}

void FreeTrack(Track* track)
{
    RemoveFromTable(track);
    FreeData(track);
    free(track);
}

// Reads from an open .jup file, checking every count against the bytes that remain, and
// fills the track only when the whole file was read.
class JupReader {
public:
    explicit JupReader(stdFileHandle file) : file_(file)
    {
        long start = stdFile_Tell(file);
        long end = stdFile_Length(file);
        if (start >= 0 && end >= start) remaining_ = (uint64_t)(end - start);
    }

    bool Read(void* out, uint32_t size, uint32_t count)
    {
        uint64_t bytes = (uint64_t)size * count;
        if (bytes > remaining_) return false;
        if (count && stdFile_Read(out, size, count, file_) != count) return false;
        remaining_ -= bytes;
        return true;
    }
    bool ReadU32(uint32_t* out) { return Read(out, 4, 1); }
    // A count of records of recordBytes each is believable only when that many bytes are left.
    bool Fits(uint32_t count, uint32_t recordBytes) const
    {
        return (uint64_t)count * recordBytes <= remaining_;
    }

private:
    stdFileHandle file_;
    uint64_t remaining_ = 0;
};

struct LoadedData {
    uint32_t flags = 0;
    float duration = 0;
    uint32_t numCurves = 0;
    TrackCurve* curves = nullptr;
    uint32_t numKeyTags = 0;
    KeyTag* keyTags = nullptr;

    ~LoadedData()
    {
        FreeCurves(curves, numCurves);
        free(keyTags);
    }
};

bool ReadCurves(JupReader& in, uint32_t version, LoadedData& data)
{
    if (!in.Fits(data.numCurves, kCurveHeaderBytes)) return false;
    uint32_t numCurves = data.numCurves;
    data.numCurves = 0;   // counts only the curves that own their keys
    if (numCurves) {
        data.curves = (TrackCurve*)calloc(numCurves, sizeof(TrackCurve));
        if (!data.curves) return false;
    }
    for (uint32_t i = 0; i < numCurves; i++) {
        TrackCurve& curve = data.curves[i];
        uint32_t numKeys;
        if (!in.ReadU32(&numKeys) || !in.ReadU32(&curve.bone) || !in.ReadU32(&curve.kind))
            return false;
        if (version != 3 || !in.Fits(numKeys, sizeof(TrackKey))) return false;
        if (numKeys) {
            curve.keys = (TrackKey*)malloc((size_t)numKeys * sizeof(TrackKey));
            if (!curve.keys) return false;
        }
        data.numCurves = i + 1;
        curve.numKeys = numKeys;
        if (!in.Read(curve.keys, sizeof(TrackKey), numKeys)) return false;
    }
    return true;
}

bool ReadKeyTags(JupReader& in, LoadedData& data)
{
    uint32_t count;
    if (!in.ReadU32(&count)) return true;   // the tags are optional
    if (!count) return true;
    RENDER_ASSERT_TEXT(count < TRACK_MAX_KEYTAGS, "numKeyTags < 128");
    if (!in.Fits(count, sizeof(KeyTag))) return false;
    data.keyTags = (KeyTag*)malloc((size_t)count * sizeof(KeyTag));
    if (!data.keyTags) return false;
    data.numKeyTags = count;
    return in.Read(data.keyTags, sizeof(KeyTag), count);
}

bool ReadJup(stdFileHandle file, LoadedData& data)
{
    JupReader in(file);
    uint32_t version;
    if (!in.ReadU32(&version) || (version != 2 && version != 3)) return false;
    if (!in.ReadU32(&data.numCurves) || !in.ReadU32(&data.flags) ||
        !in.Read(&data.duration, 4, 1))
        return false;
    return ReadCurves(in, version, data) && ReadKeyTags(in, data);
}

}  // namespace

int Track::Load()
{
    if (flags & TRACK_LOADED) return 1;
    if (flags & TRACK_FAILED) return 0;

    char path[kPathSize];
    if (!stdPath_MakeFileName(path, sizeof path, name, "jup", STDPATH_KEEP_EXTENSION)) return 0;
    stdFileHandle file = stdFile_Open(path, "rb", STDFILE_TYPE_ANIM);
    if (!file) return 0;

    LoadedData data;
    bool ok = ReadJup(file, data);
    stdFile_Close(file);
    if (!ok) {
        flags |= TRACK_FAILED;
        return 0;
    }
    // The state bits are the cache's own; a file cannot set them.
    flags = (data.flags & ~TRACK_STATE_BITS) | (flags & TRACK_STATE_BITS) | TRACK_LOADED;
    duration = data.duration;
    numCurves = data.numCurves;
    curves = data.curves;
    numKeyTags = data.numKeyTags;
    keyTags = data.keyTags;
    data.curves = nullptr;
    data.numCurves = 0;
    data.keyTags = nullptr;
    return 1;
}

int renderKeyframe_Startup()
{
    // A second start finds the cache ready, as the model and material caches do.
    if (g_bStartup) return 1;
    g_pHashtable = stdHash_Create(kTableBuckets, "renderKeyframe");
    if (!g_pHashtable) return 0;
    renderRing_Clear(&g_freeList);
    g_bStartup = 1;
    return 1;
}

int renderKeyframe_Shutdown()
{
    renderRing_FreeAll(&g_freeList, FreeTrack);
    if (g_bStartup) stdHash_Free(g_pHashtable);
    g_pHashtable = nullptr;
    g_bStartup = 0;
    return 1;
}

Track* renderKeyframe_GetTrack(const char* name, uint32_t flags)
{
    RENDER_ASSERT_TEXT(g_bStartup, "bStartup");
    RENDER_ASSERT_TEXT(g_pHashtable, "pHashtable");
    if (!g_pHashtable || !name) return nullptr;
    // The table's key is the name cut to the record's size, so look up by that.
    char key[TRACK_NAME_SIZE];
    snprintf(key, sizeof key, "%s", name);
    Track* track = (Track*)stdHash_Find(g_pHashtable, key);
    if (track) {
        track->refCount++;
        if (track->OnFreeList()) renderKeyframe_Unpark(track);
    } else {
        track = (Track*)calloc(1, sizeof(Track));
        if (!track) return nullptr;
        memcpy(track->name, key, sizeof key);
        track->refCount = 1;
        if (!stdHash_Add(g_pHashtable, track->name, track)) {
            free(track);
            return nullptr;
        }
    }
    if (flags & TRACK_LOAD_NOW) track->Load();
    return track;
}

void renderKeyframe_ReleaseTrack(Track* track)
{
    RENDER_ASSERT_TEXT(track, "this");
    if (!track) return;
    RENDER_ASSERT_TEXT(track->refCount > 0, "refCount > 0");
    RENDER_ASSERT_TEXT(!track->OnFreeList(), "!OnFreeList()");
    if (track->refCount == 0 || track->OnFreeList()) return;
    if (--track->refCount > 0) return;
    if (track->flags & TRACK_LOADED) renderKeyframe_Park(track);
    else FreeTrack(track);
}

void renderKeyframe_FreeTrackData(Track* track)
{
    if (!track) return;
    RemoveFromTable(track);
    FreeData(track);
}

float renderKeyframe_GetKeyTagFrame(const Track* track, int id)
{
    if (!track) return -1.0f;
    for (uint32_t i = 0; i < track->numKeyTags; i++) {
        if (track->keyTags[i].id == id) return track->keyTags[i].frame;
    }
    return -1.0f;
}

void renderKeyframe_SetCallback(KeyTagCallback callback)
{
    g_pfnCallback = callback;
}

KeyTagCallback renderKeyframe_GetCallback()
{
    return g_pfnCallback;
}

void renderKeyframe_Park(Track* track)
{
    Track* waiting = renderRing_Put(&g_freeList, track);
    if (waiting) {
        RENDER_ASSERT_TEXT(waiting->OnFreeList(), "apFreeList[nextFreeListSlot]->OnFreeList()");
        // A track in the ring that is not parked is in use: leave it to its owners.
        if (waiting->OnFreeList()) FreeTrack(waiting);
    }
    track->flags |= TRACK_PARKED;
}

void renderKeyframe_Unpark(Track* track)
{
    RENDER_ASSERT_TEXT(track && track->OnFreeList(), "OnFreeList()");
    if (!track) return;
    renderRing_Remove(&g_freeList, track);
    track->flags &= ~TRACK_PARKED;
}
