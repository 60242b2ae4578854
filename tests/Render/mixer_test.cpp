// The animation mixer: poses from the cubic keys under the bone parents, the play flags, the
// cross-fades and the key-tag events, and damaged tracks kept within bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "animExpect.h"
#include "animTestSupport.h"
#include "renderMixer.h"
#include "renderModelInstance.h"

using fixtures::JupCurve;
using fixtures::JupFile;
using fixtures::JupKey;
using fixtures::MakeCubicKey;

namespace {

JupCurve Curve(uint32_t bone, uint32_t kind, std::vector<JupKey> keys)
{
    JupCurve curve;
    curve.bone = bone;
    curve.kind = kind;
    curve.keys = std::move(keys);
    return curve;
}

// A still pose: bone 0 turned by the angles (a, 2a, 3a).
JupFile Still(float a, float duration = 40)
{
    JupFile file;
    file.duration = duration;
    file.curves = {Curve(0, TRACK_KIND_ROTATION, {MakeCubicKey(0, 1, a, 0, 0, 0)})};
    return file;
}

struct Event {
    MixerChannel* channel;
    int value;
};
std::vector<Event> g_events;
void Record(MixerChannel* channel, Mixer*, int value) { g_events.push_back({channel, value}); }

class MixerTest : public animtest::InstanceFolder {
protected:
    MixerTest()
    {
        instance = MakeInstance("body", animtest::SkeletonModel());
        if (instance) renderMixer_Create(instance, 7);
        mixer = instance ? instance->pMixer : nullptr;
        g_events.clear();
        renderKeyframe_SetCallback(nullptr);
    }
    ~MixerTest() override
    {
        renderKeyframe_SetCallback(nullptr);
        renderModelInstance_Free(instance, 1);
    }

    Track* Load(const std::string& name, const JupFile& file)
    {
        EXPECT_TRUE(WriteAnim(name, file));
        return renderKeyframe_GetTrack(name.c_str(), 0);
    }
    // Evaluates a new frame and gives bone 0's rotation, as the mixer sees it.
    mathVec3 Rotation0()
    {
        NextFrame();
        mixer->Evaluate();
        return mixer->aCurRotation[0];
    }

    ModelInstance* instance = nullptr;
    Mixer* mixer = nullptr;
};

}  // namespace

TEST_F(MixerTest, CreationAndFree)
{
    ASSERT_NE(mixer, nullptr);
    EXPECT_EQ(mixer->numBones, 2);
    EXPECT_EQ(mixer->userValue, 7u);
    EXPECT_EQ(mixer->pInstance, instance);
    EXPECT_EQ(mixer->main.curBaseSize, 4u);
    EXPECT_EQ(renderMixer_Create(instance, 0), 0) << "one mixer an instance";
    EXPECT_EQ(Assertions(), 1) << "!pMixer";
    EXPECT_EQ(instance->pMixer, mixer);
    renderMixer_Free(instance);
    EXPECT_EQ(instance->pMixer, nullptr);
}

// Poses against an evaluation of the cubic keys written apart from the mixer, on the first
// frame (the frame stamp starts at 1, so a new instance is posed at once) and after a step
// into the second key.
TEST_F(MixerTest, BonePosesFollowTheCubicKeysUnderTheirParents)
{
    JupFile file;
    file.duration = 40;
    JupKey r0a = MakeCubicKey(0, 0.5f, 4, 1.5f, -0.25f, 0.02f), r0b = MakeCubicKey(20, 0.25f, -3, 2, 0.5f, -0.1f);
    JupKey t1 = MakeCubicKey(0, 0.1f, 2, 1, 0.5f, 0.25f), r1 = MakeCubicKey(0, 1, 10, -1, 0.05f, 0);
    file.curves = {Curve(0, TRACK_KIND_ROTATION, {r0a, r0b}), Curve(1, 1, {t1}),
                   Curve(1, TRACK_KIND_ROTATION, {r1})};
    Track* track = Load("pose", file);
    ASSERT_EQ(mixer->Play(track, 30.0f, 0), 1);

    const double rest0[3] = {0, 0, 1}, rest1[3] = {0, 1, 0};
    for (float step : {0.25f, 0.5f}) {   // frames 7.5, then 22.5
        mixer->Advance(step);
        if (step != 0.25f) NextFrame();
        renderMixer_Evaluate(instance);
        double frame = mixer->main.curFrame;
        double a0[3], a1[3], t[3], tr1[3];
        animtest::KeyAt(frame < 20 ? r0a : r0b, frame, a0);
        animtest::KeyAt(r1, frame, a1);
        animtest::KeyAt(t1, frame, t);
        for (int k = 0; k < 3; k++) tr1[k] = t[k] + rest1[k];
        animtest::Affine pose0 = animtest::Local(a0, rest0);
        animtest::Affine pose1 = animtest::Then(animtest::Local(a1, tr1), pose0);
        animtest::ExpectFrame(instance->pBones[0].pose, pose0, 2e-3, "bone 0");
        animtest::ExpectFrame(instance->pBones[1].pose, pose1, 2e-3, "bone 1");
    }
    EXPECT_EQ(mixer->main.curBase[0], 1u) << "the search moved on to the second key";
    EXPECT_EQ(Assertions(), 0);
}

TEST_F(MixerTest, OneEvaluationPerFrame)
{
    Track* track = Load("still", Still(10));
    mixer->Play(track, 30.0f, 0);
    renderMixer_Evaluate(instance);
    mathFrame first = instance->pBones[0].pose;
    mixer->Play(Load("other", Still(50)), 30.0f, PLAY_NO_FADE);
    renderMixer_Evaluate(instance);
    EXPECT_EQ(memcmp(&first, &instance->pBones[0].pose, sizeof first), 0) << "same frame: kept";
    NextFrame();
    renderMixer_Evaluate(instance);
    EXPECT_NE(memcmp(&first, &instance->pBones[0].pose, sizeof first), 0);
}

TEST_F(MixerTest, OnceHoldAndLoop)
{
    struct Case {
        uint32_t flags;
        float steps;          // seconds at 10 frames a second, duration 40
        bool ended;           // the advance reported the end
        bool playing;
        float frame;
        std::vector<int> events;
    } cases[] = {
        {0, 5, false, true, 10, {}},
        {0, 12.5f, false, true, 5, {}},
        {PLAY_ONCE, 5, true, false, 0, {}},
        {PLAY_ONCE | PLAY_END_EVENT | PLAY_END_EVENT_ALT, 5, true, false, 0, {19, 20}},
        {PLAY_END_EVENT, 5, false, true, 10, {}},
        {PLAY_HOLD, 5, false, true, 40, {}},
        {PLAY_HOLD, 3, false, true, 30, {}},
    };
    renderKeyframe_SetCallback(Record);
    Track* track = Load("walk", Still(1));
    for (const Case& c : cases) {
        g_events.clear();
        mixer->Stop();
        ASSERT_EQ(mixer->Play(track, 10.0f, c.flags), 1);
        EXPECT_EQ(mixer->AdvanceChannel(&mixer->main, c.steps), c.ended ? 1 : 0) << c.flags;
        EXPECT_EQ(mixer->main.pTrack != nullptr, c.playing) << c.flags;
        if (c.playing) {
            EXPECT_FLOAT_EQ(mixer->main.curFrame, c.frame) << c.flags;
        }
        std::vector<int> values;
        for (const Event& e : g_events) values.push_back(e.value);
        EXPECT_EQ(values, c.events) << c.flags;
    }
    // A holding channel stays at the end until played again.
    mixer->Stop();
    mixer->Play(track, 10.0f, PLAY_HOLD);
    mixer->Advance(5);
    EXPECT_TRUE(mixer->main.flags & PLAY_HOLDING);
    mixer->Advance(5);
    EXPECT_EQ(mixer->main.curFrame, 40.0f);
    mixer->Stop();
    mixer->Play(track, 10.0f, PLAY_FROM_END);
    EXPECT_EQ(mixer->main.curFrame, 40.0f);
    EXPECT_EQ(Assertions(), 0);
}

TEST_F(MixerTest, PlayingWhatAlreadyPlaysChangesOnlyTheFlags)
{
    Track* track = Load("walk", Still(1));
    mixer->Play(track, 10.0f, 0);
    mixer->Advance(1);
    EXPECT_EQ(mixer->Play(track, 99.0f, PLAY_HOLD), 1);
    EXPECT_EQ(mixer->main.flags, (uint32_t)PLAY_HOLD);
    EXPECT_EQ(mixer->main.curFrame, 10.0f);
    EXPECT_EQ(mixer->main.speed, 10.0f);
    EXPECT_EQ(mixer->weight, 0.0f);
    EXPECT_EQ(mixer->Stop(), track);
    EXPECT_EQ(mixer->Stop(), nullptr);
    EXPECT_EQ(mixer->StopMain(), 0);
}

TEST_F(MixerTest, SpeedsAreClampedAndVaried)
{
    Track* track = Load("walk", Still(1));
    struct Case {
        float speed;
        float expected;
    } cases[] = {{500, 300}, {-5, 0}, {std::numeric_limits<float>::quiet_NaN(), 0}, {30, 30}};
    for (const Case& c : cases) {
        MixerChannel channel = {};
        ASSERT_EQ(renderKeyframe_PlayTrack(&channel, track, c.speed, 0), 1);
        EXPECT_EQ(channel.speed, c.expected) << c.speed;
    }
    for (int i = 0; i < 50; i++) {
        MixerChannel channel = {};
        renderKeyframe_PlayTrack(&channel, track, 100, PLAY_VARY_SPEED);
        EXPECT_GE(channel.speed, 75.0f);
        EXPECT_LE(channel.speed, 125.0f);
    }
    EXPECT_EQ(renderKeyframe_PlayTrack(nullptr, track, 1, 0), 0);
}

TEST_F(MixerTest, AStepOfZeroOrLessChangesNothing)
{
    mixer->Play(Load("a", Still(10)), 10.0f, 0);
    mixer->Play(Load("b", Still(20)), 10.0f, 0);
    ASSERT_EQ(mixer->weight, 1.0f);
    for (float step : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        mixer->Advance(step);
        EXPECT_EQ(mixer->main.curFrame, 0.0f);
        EXPECT_EQ(mixer->weight, 1.0f);
    }
}

// A new play fades from the pose shown at that moment: weight 1 shows the old pose (bone 0's
// angles wrapped into (-180, 180]), weight 0 the new one.
TEST_F(MixerTest, CrossFadesBlendFromThePoseShown)
{
    mixer->Play(Load("a", Still(90)), 10.0f, 0);   // (90, 180, 270)
    EXPECT_FLOAT_EQ(Rotation0().z, 270.0f);
    mixer->Play(Load("b", Still(10)), 10.0f, 0);   // (10, 20, 30)
    EXPECT_EQ(mixer->weight, 1.0f);
    EXPECT_EQ(mixer->fadeRate, 5.0f);
    mathVec3 r = Rotation0();
    EXPECT_FLOAT_EQ(r.x, 90.0f);
    EXPECT_FLOAT_EQ(r.y, 180.0f);
    EXPECT_FLOAT_EQ(r.z, -90.0f);
    mixer->Advance(0.1f);
    EXPECT_NEAR(mixer->weight, 0.5f, 1e-6);
    EXPECT_NEAR(Rotation0().x, 50.0f, 1e-4);
    mixer->Advance(0.15f);
    EXPECT_EQ(mixer->weight, 0.0f);
    EXPECT_FLOAT_EQ(Rotation0().x, 10.0f);

    mixer->Play(Load("c", Still(30)), 10.0f, PLAY_NO_FADE);
    EXPECT_EQ(mixer->weight, 0.0f);
    EXPECT_FLOAT_EQ(Rotation0().x, 30.0f);
}

TEST_F(MixerTest, TheSecondChannelOverridesThenFadesBack)
{
    renderKeyframe_SetCallback(Record);
    mixer->Play(Load("main", Still(10)), 10.0f, 0);
    ASSERT_EQ(mixer->PlaySecond(Load("turn", Still(60)), 10.0f, PLAY_HOLD_BONE0), 1);
    EXPECT_EQ(mixer->holdBone0, 1);
    EXPECT_EQ(mixer->weight, 1.0f);
    EXPECT_FLOAT_EQ(Rotation0().x, 60.0f) << "bone 0 is not blended while the fade runs";
    mixer->Advance(0.3f);
    EXPECT_EQ(mixer->holdBone0, 0) << "the fade ended";
    EXPECT_FLOAT_EQ(mixer->second.curFrame, 3.0f);
    EXPECT_FLOAT_EQ(mixer->main.curFrame, 0.0f) << "the main channel waits";

    ASSERT_EQ(mixer->PlaySecond(Load("action", Still(60, 10)), 100.0f,
                                PLAY_ONCE | PLAY_END_EVENT | PLAY_NO_FADE),
              1);
    EXPECT_FLOAT_EQ(Rotation0().x, 60.0f);
    mixer->Advance(0.1f);   // the action ends and the mixer fades back
    EXPECT_EQ(mixer->second.pTrack, nullptr);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0].channel, &mixer->second);
    EXPECT_EQ(g_events[0].value, 19);
    EXPECT_NEAR(mixer->weight, 0.5f, 1e-6);
    EXPECT_NEAR(Rotation0().x, 35.0f, 1e-4);
    mixer->Advance(0.1f);
    EXPECT_FLOAT_EQ(Rotation0().x, 10.0f);
    mixer->StopSecond();
    EXPECT_EQ(mixer->weight, 1.0f) << "a stop fades even when idle";
}

// Both ends of a step count, so a tag at the frame reached last time fires again; a callback
// that stops the channel ends the walk.
TEST_F(MixerTest, KeyTagsFireOverEachStep)
{
    JupFile file = Still(1);
    file.tags = {{5, 100}, {10, 101}, {30, 102}};
    Track* track = Load("tags", file);
    renderKeyframe_SetCallback(Record);
    mixer->Play(track, 10.0f, 0);
    auto values = [] {
        std::vector<int> v;
        for (const Event& e : g_events) v.push_back(e.value);
        g_events.clear();
        return v;
    };
    mixer->Advance(1);
    EXPECT_EQ(values(), (std::vector<int>{100, 101}));
    mixer->Advance(1);
    EXPECT_EQ(values(), (std::vector<int>{101}));
    mixer->Advance(2);   // to 40, wrapped to 0
    EXPECT_EQ(values(), (std::vector<int>{102}));
    EXPECT_EQ(mixer->main.curFrame, 0.0f);

    renderKeyframe_SetCallback([](MixerChannel* channel, Mixer* m, int value) {
        g_events.push_back({channel, value});
        m->Stop();
    });
    mixer->Advance(1.5f);
    EXPECT_EQ(values(), (std::vector<int>{100}));
    EXPECT_EQ(mixer->main.pTrack, nullptr);
    EXPECT_EQ(renderKeyframe_GetKeyTagFrame(track, 102), 30.0f);
}

// Curves for bones the model lacks, curves without keys, more curves than the mixer has room
// for, first keys after frame 0 and durations that cannot be wrapped by: nothing is written
// outside the pose arrays, no loop spins, every frame stays in range.
TEST_F(MixerTest, DamagedTracksAreBounded)
{
    JupFile file;
    file.duration = 40;
    file.curves = {Curve(99, TRACK_KIND_ROTATION, {MakeCubicKey(0, 1, 5, 0, 0, 0)}),
                   Curve(0, TRACK_KIND_ROTATION, {}),
                   Curve(0, TRACK_KIND_ROTATION, {MakeCubicKey(10, 1, 7, 1, 0, 0)}),
                   Curve(1, 1, {MakeCubicKey(0, 1, 1, 0, 0, 0)}),
                   Curve(1, TRACK_KIND_ROTATION, {MakeCubicKey(0, 1, 1000, 0, 0, 0)})};
    mixer->Play(Load("damaged", file), 10.0f, 0);
    mixer->Advance(0.2f);   // frame 2, before the key at 10
    mathVec3 r = Rotation0();
    EXPECT_FLOAT_EQ(r.x, 7.0f) << "the time is held at 0 before the first key";
    EXPECT_FLOAT_EQ(mixer->aCurTranslation[1].x, 1.0f);
    EXPECT_FLOAT_EQ(mixer->aCurRotation[1].x, 0.0f) << "the fifth curve has no room";

    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    int n = 0;
    for (float duration : {0.0f, -5.0f, nan, inf}) {
        for (uint32_t flags : {0u, (uint32_t)PLAY_HOLD, (uint32_t)PLAY_ONCE, (uint32_t)PLAY_FROM_END}) {
            std::string name = "d" + std::to_string(n++);
            mixer->Stop();
            ASSERT_EQ(mixer->Play(Load(name, Still(1, duration)), 300.0f, flags), 1) << name;
            EXPECT_EQ(mixer->main.curFrame, 0.0f) << name;
            mixer->Advance(1000.0f);
            if (mixer->main.pTrack) {
                EXPECT_EQ(mixer->main.curFrame, 0.0f) << name;
            } else {
                EXPECT_TRUE(flags & PLAY_ONCE) << name;
            }
        }
    }
    mixer->Stop();
    mixer->Play(Load("long", Still(1, 7)), 300.0f, 0);
    mixer->Advance(1e7f);
    EXPECT_GE(mixer->main.curFrame, 0.0f);
    EXPECT_LT(mixer->main.curFrame, 7.0f);
    mixer->Advance(std::numeric_limits<float>::max());
    EXPECT_EQ(mixer->main.curFrame, 0.0f) << "a frame past the float range starts over";
    EXPECT_EQ(Assertions(), 0) << "damaged files trip no invariant";
}

TEST_F(MixerTest, TracksThatCannotLoadLeaveTheChannelsAlone)
{
    Track* walk = Load("walk", Still(1));
    mixer->Play(walk, 10.0f, 0);
    Track* missing = renderKeyframe_GetTrack("missing", 0);
    EXPECT_EQ(mixer->Play(missing, 10.0f, 0), 0);
    EXPECT_EQ(mixer->PlaySecond(missing, 10.0f, 0), 0);
    EXPECT_EQ(mixer->Play(nullptr, 10.0f, 0), 0);
    EXPECT_EQ(mixer->main.pTrack, walk);
    EXPECT_EQ(mixer->second.pTrack, nullptr);
    EXPECT_EQ(mixer->weight, 0.0f);
}
