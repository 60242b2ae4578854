// Keyframe tracks: the .jup reader with its damaged files, and the track cache with its ring.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "animTestSupport.h"
#include "fixtureJup.h"
#include "fixtureMutations.h"
#include "renderKeyframe.h"

using fixtures::Bytes;
using fixtures::JupCurve;
using fixtures::JupFile;
using fixtures::MakeCubicKey;

namespace {

class Keyframe : public animtest::AnimFolder {};

JupFile WalkFile()
{
    JupFile file;
    file.flags = 0x5;
    file.duration = 40;
    JupCurve rotation;
    rotation.bone = 1;
    rotation.kind = TRACK_KIND_ROTATION;
    rotation.keys = {MakeCubicKey(0, 0.5f, 1, 2, 3, 4), MakeCubicKey(20, 0.25f, 5, 0, 0, 1)};
    JupCurve translation;
    translation.bone = 0;
    translation.kind = 1;
    translation.keys = {MakeCubicKey(0, 1, 7, 0, 0, 0)};
    file.curves = {rotation, translation};
    file.tags = {{5, 100}, {12.5f, 101}, {30, 100}};
    return file;
}

// A loaded track holds exactly what the file said; a refused one holds nothing.
void ExpectNothingAttached(const Track* track)
{
    EXPECT_EQ(track->numCurves, 0u);
    EXPECT_EQ(track->curves, nullptr);
    EXPECT_EQ(track->numKeyTags, 0u);
    EXPECT_EQ(track->keyTags, nullptr);
}

}  // namespace

TEST_F(Keyframe, AVersion3FileLoadsItsCurvesKeysAndTags)
{
    ASSERT_TRUE(WriteAnim("walk", WalkFile()));
    Track* track = renderKeyframe_GetTrack("walk", 0);
    ASSERT_NE(track, nullptr);
    EXPECT_STREQ(track->name, "walk");
    EXPECT_EQ(track->refCount, 1u);
    EXPECT_EQ(track->flags, 0u) << "made on request, read on first play";
    ASSERT_EQ(track->Load(), 1);
    EXPECT_EQ(track->flags, 0x5u | TRACK_LOADED);
    EXPECT_EQ(track->duration, 40.0f);
    ASSERT_EQ(track->numCurves, 2u);
    EXPECT_EQ(track->curves[0].bone, 1u);
    EXPECT_EQ(track->curves[0].kind, 0u);
    ASSERT_EQ(track->curves[0].numKeys, 2u);
    EXPECT_EQ(track->curves[0].keys[1].baseFrame, 20.0f);
    EXPECT_EQ(track->curves[0].keys[1].timeScale, 0.25f);
    EXPECT_EQ(track->curves[0].keys[1].c3[2], 3.0f);
    EXPECT_EQ(track->curves[1].kind, 1u);
    EXPECT_EQ(track->curves[1].keys[0].value[1], 14.0f);
    ASSERT_EQ(track->numKeyTags, 3u);
    EXPECT_EQ(renderKeyframe_GetKeyTagFrame(track, 100), 5.0f);
    EXPECT_EQ(renderKeyframe_GetKeyTagFrame(track, 101), 12.5f);
    EXPECT_EQ(renderKeyframe_GetKeyTagFrame(track, 7), -1.0f);
    EXPECT_EQ(track->Load(), 1) << "a second load is a no-op";
    EXPECT_EQ(Assertions(), 0);
    renderKeyframe_ReleaseTrack(track);
}

TEST_F(Keyframe, TheFileCannotSetTheCacheBits)
{
    JupFile file = WalkFile();
    file.flags = 0xFFFFFFFF;
    ASSERT_TRUE(WriteAnim("walk", file));
    Track* track = renderKeyframe_GetTrack("walk", TRACK_LOAD_NOW);
    EXPECT_EQ(track->flags, (0xFFFFFFFFu & ~TRACK_STATE_BITS) | TRACK_LOADED);
    EXPECT_FALSE(track->OnFreeList());
    renderKeyframe_ReleaseTrack(track);
    EXPECT_TRUE(track->OnFreeList()) << "a loaded track waits on the ring";
    EXPECT_EQ(Assertions(), 0);
}

TEST_F(Keyframe, VersionsAndTheOptionalTagBlock)
{
    struct Case {
        const char* name;
        uint32_t version;
        size_t curves;
        bool tagCount;
        int loads;
    } cases[] = {
        {"v2empty", 2, 0, true, 1},  {"v2curve", 2, 1, true, 0}, {"v1", 1, 0, true, 0},
        {"v4", 4, 0, true, 0},       {"notags", 3, 2, false, 1},
    };
    for (const Case& c : cases) {
        JupFile file = WalkFile();
        file.version = c.version;
        file.curves.resize(c.curves);
        file.writeTagCount = c.tagCount;
        ASSERT_TRUE(WriteAnim(c.name, file));
        Track* track = renderKeyframe_GetTrack(c.name, 0);
        EXPECT_EQ(track->Load(), c.loads) << c.name;
        EXPECT_EQ((track->flags & TRACK_FAILED) != 0, c.loads == 0) << c.name;
        if (c.loads) {
            EXPECT_EQ(track->numCurves, c.curves) << c.name;
        } else {
            ExpectNothingAttached(track);
        }
        if (!c.tagCount) {
            EXPECT_EQ(track->numKeyTags, 0u);
        }
    }
}

TEST_F(Keyframe, AMissingFileIsTriedAgainARefusedOneNever)
{
    Track* track = renderKeyframe_GetTrack("late", TRACK_LOAD_NOW);
    ASSERT_NE(track, nullptr) << "a failed read still gives the record";
    EXPECT_EQ(track->flags, 0u);
    ASSERT_TRUE(WriteAnim("late", WalkFile()));
    EXPECT_EQ(track->Load(), 1);

    JupFile bad = WalkFile();
    bad.version = 2;
    ASSERT_TRUE(WriteAnim("bad", bad));
    Track* refused = renderKeyframe_GetTrack("bad", TRACK_LOAD_NOW);
    EXPECT_TRUE(refused->flags & TRACK_FAILED);
    ASSERT_TRUE(WriteAnim("bad", WalkFile()));
    EXPECT_EQ(refused->Load(), 0) << "never read again";
    EXPECT_EQ(renderKeyframe_GetTrack("bad", 0), refused) << "it stays in the table";
    EXPECT_EQ(refused->refCount, 2u);
}

// Counts that claim more than the file holds are refused before anything is allocated for
// them, including counts whose byte sizes overflow 32 bits.
TEST_F(Keyframe, CountsBeyondTheFileAreRefusedWhole)
{
    struct Case {
        const char* name;
        int64_t curves, keys, tags;
    } cases[] = {
        {"curves", 0xFFFFFFFF, -1, -1},     {"curves2", 0x15555556, -1, -1},
        {"keys", -1, 0x04924925, -1},       {"keysbig", -1, 0xFFFFFFFF, -1},
        {"keysone", -1, 3, -1},             {"tags", -1, -1, 0x20000000},
        {"tagsone", -1, -1, 4},             {"curvesone", 3, -1, -1},
    };
    for (const Case& c : cases) {
        JupFile file = WalkFile();
        file.claimedCurves = c.curves;
        file.curves[1].claimedKeys = c.keys;
        file.claimedTags = c.tags;
        ASSERT_TRUE(WriteAnim(c.name, file));
        Track* track = renderKeyframe_GetTrack(c.name, 0);
        EXPECT_EQ(track->Load(), 0) << c.name;
        EXPECT_TRUE(track->flags & TRACK_FAILED) << c.name;
        ExpectNothingAttached(track);
    }
}

// Every truncation and every single damaged byte: the track is refused with nothing
// attached, or loads with every count backed by bytes of the file.
TEST_F(Keyframe, DamagedFilesAreRefusedOrBounded)
{
    Bytes good = fixtures::JupBytes(WalkFile());
    int n = 0, loaded = 0;
    fixtures::ForEachMutation(good, [&](const Bytes& bad) {
        std::string name = "m" + std::to_string(n++);
        ASSERT_TRUE(fixtures::WriteBytes("3D\\Anims\\" + name + ".jup", bad));
        Track* track = renderKeyframe_GetTrack(name.c_str(), 0);
        if (track->Load()) {
            loaded++;
            size_t bytes = 16 + track->numKeyTags * sizeof(KeyTag);
            for (uint32_t i = 0; i < track->numCurves; i++)
                bytes += 12 + track->curves[i].numKeys * sizeof(TrackKey);
            EXPECT_LE(bytes, bad.size()) << name;
            EXPECT_EQ(track->flags & (TRACK_FAILED | TRACK_PARKED), 0u) << name;
        } else {
            EXPECT_TRUE(track->flags & TRACK_FAILED) << name;
            ExpectNothingAttached(track);
        }
        renderKeyframe_ReleaseTrack(track);
    });
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, n);
}

TEST_F(Keyframe, ManyKeyTagsAreReportedAndStillRead)
{
    JupFile file = WalkFile();
    file.tags.assign(130, {1, 2});
    ASSERT_TRUE(WriteAnim("tags", file));
    Track* track = renderKeyframe_GetTrack("tags", TRACK_LOAD_NOW);
    EXPECT_EQ(track->numKeyTags, 130u);
    EXPECT_EQ(Assertions(), 1);
    EXPECT_EQ(LastAssertion(), "numKeyTags < 128");
}

TEST_F(Keyframe, NamesAreCutTo31CharactersAndSharedByCase)
{
    std::string longName(40, 'a');
    Track* first = renderKeyframe_GetTrack(longName.c_str(), 0);
    EXPECT_EQ(std::string(first->name), std::string(31, 'a'));
    EXPECT_EQ(renderKeyframe_GetTrack(longName.c_str(), 0), first);
    EXPECT_EQ(renderKeyframe_GetTrack("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", 0), first);
    EXPECT_EQ(first->refCount, 3u);
    EXPECT_EQ(renderKeyframe_GetTrack(nullptr, 0), nullptr);
}

TEST_F(Keyframe, ReleasedTracksWaitOnTheRingUntilTheirSlotIsReused)
{
    ASSERT_TRUE(WriteAnim("walk", WalkFile()));
    Track* walk = renderKeyframe_GetTrack("walk", TRACK_LOAD_NOW);
    renderKeyframe_ReleaseTrack(walk);
    ASSERT_TRUE(walk->OnFreeList());
    EXPECT_EQ(renderKeyframe_GetTrack("walk", 0), walk) << "a lookup revives it";
    EXPECT_FALSE(walk->OnFreeList());
    EXPECT_TRUE(walk->flags & TRACK_LOADED);
    EXPECT_EQ(walk->refCount, 1u);
    renderKeyframe_ReleaseTrack(walk);

    // Walk waits while 31 others are parked after it; the 32nd takes its slot and frees it.
    auto parkOthers = [&](int count, const char* prefix) {
        for (int i = 0; i < count; i++) {
            std::string name = prefix + std::to_string(i);
            ASSERT_TRUE(WriteAnim(name, WalkFile()));
            renderKeyframe_ReleaseTrack(renderKeyframe_GetTrack(name.c_str(), TRACK_LOAD_NOW));
        }
    };
    parkOthers(31, "a");
    Track* again = renderKeyframe_GetTrack("walk", 0);
    EXPECT_EQ(again, walk) << "still waiting after 31 others";
    EXPECT_TRUE(again->flags & TRACK_LOADED);
    renderKeyframe_ReleaseTrack(again);
    parkOthers(32, "b");
    Track* fresh = renderKeyframe_GetTrack("walk", 0);
    EXPECT_EQ(fresh->flags & TRACK_LOADED, 0u) << "the record was freed and made anew";
    EXPECT_EQ(fresh->refCount, 1u);
    EXPECT_EQ(Assertions(), 0);
}

TEST_F(Keyframe, ReleaseRulesAndTheirAssertions)
{
    Track* unread = renderKeyframe_GetTrack("unread", 0);
    renderKeyframe_ReleaseTrack(unread);   // never loaded: freed at once
    Track* again = renderKeyframe_GetTrack("unread", 0);
    EXPECT_EQ(again->refCount, 1u);

    ASSERT_TRUE(WriteAnim("walk", WalkFile()));
    Track* walk = renderKeyframe_GetTrack("walk", TRACK_LOAD_NOW);
    renderKeyframe_ReleaseTrack(walk);
    renderKeyframe_ReleaseTrack(walk);
    EXPECT_GE(Assertions(), 1);
    EXPECT_EQ(LastAssertion(), "!OnFreeList()");
    EXPECT_TRUE(walk->OnFreeList()) << "the second release changed nothing";
    renderKeyframe_ReleaseTrack(nullptr);
    EXPECT_EQ(LastAssertion(), "this");
}

TEST_F(Keyframe, FreeTrackDataKeepsTheRecordOutOfTheTable)
{
    ASSERT_TRUE(WriteAnim("walk", WalkFile()));
    Track* walk = renderKeyframe_GetTrack("walk", TRACK_LOAD_NOW);
    renderKeyframe_FreeTrackData(walk);
    EXPECT_EQ(walk->numCurves, 0u);
    EXPECT_EQ(walk->curves, nullptr);
    EXPECT_EQ(walk->keyTags, nullptr);
    Track* other = renderKeyframe_GetTrack("walk", 0);
    EXPECT_NE(other, walk);
    // Freeing the old record's table entry must not take the newer record's.
    renderKeyframe_FreeTrackData(walk);
    EXPECT_EQ(renderKeyframe_GetTrack("walk", 0), other);
}

TEST_F(Keyframe, StartupAndShutdown)
{
    EXPECT_EQ(renderKeyframe_Startup(), 1) << "already started: ready as it is";
    ASSERT_TRUE(WriteAnim("walk", WalkFile()));
    renderKeyframe_ReleaseTrack(renderKeyframe_GetTrack("walk", TRACK_LOAD_NOW));
    EXPECT_EQ(renderKeyframe_Startup(), 1);
    Track* parked = renderKeyframe_GetTrack("walk", 0);
    EXPECT_NE(parked->flags & TRACK_LOADED, 0u) << "a second start keeps the parked track";
    renderKeyframe_ReleaseTrack(parked);
    EXPECT_EQ(renderKeyframe_Shutdown(), 1);
    EXPECT_EQ(renderKeyframe_Startup(), 1);
    Track* walk = renderKeyframe_GetTrack("walk", 0);
    EXPECT_EQ(walk->flags & TRACK_LOADED, 0u) << "the parked track went with the shutdown";
}
