// The viewer's command line, orbit and keys, driven through a key state table and frame times.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "QevViewControls.h"

namespace {

// A key state table that a test plays frames on: a press is an event in the frame's poll, a key
// held since an earlier poll is down with an older frame.
class Frames {
public:
    Frames() { memset(&state, 0, sizeof state); }
    Frames& Next()
    {
        ++state.pollCounter;
        state.mouseDx = state.mouseDy = state.mouseDz = 0;
        return *this;
    }
    Frames& Press(int key)
    {
        state.aKeys[key].down = STDINPUT_DOWN;
        state.aKeys[key].frame = state.pollCounter;
        return *this;
    }
    Frames& Release(int key)
    {
        state.aKeys[key].down = 0;
        state.aKeys[key].frame = state.pollCounter;
        return *this;
    }
    stdInputState state;
};

struct ParseCase {
    const char* line;
    const char* model;
    const char* anim;
    uint32_t bAnimRequested;
};

TEST(QevViewCommandLine, OptionsTakeTheNextTokenAndAnyOtherWordEndsTheParse)
{
    const ParseCase cases[] = {
        {"", "test.qev", "", 0},
        {nullptr, "test.qev", "", 0},
        {"/model", "test.qev", "", 0},
        {"-model ogre.qev", "ogre.qev", "", 0},
        {"-anim walk.jup -model first.qev /model second.qev", "second.qev", "walk.jup", 1},
        {"\t/anim\twalk.jup   -model\tbox.qev  ", "box.qev", "walk.jup", 1},
        {"viewer -model ogre.qev", "test.qev", "", 0},
        {"-model ogre.qev extra -anim walk.jup", "ogre.qev", "", 0},
        {"-anim", "test.qev", "", 0},
        {"-MODEL ogre.qev", "test.qev", "", 0},
        {"--model ogre.qev", "test.qev", "", 0},
        {"-model models\\sub\\ogre.qev", "models\\sub\\ogre.qev", "", 0},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.line ? c.line : "(null)");
        QevViewCommandLine line;
        memset(&line, 'x', sizeof line);   // whatever was there before
        QevView_ParseCommandLine(&line, c.line);
        EXPECT_STREQ(c.model, line.modelName);
        EXPECT_STREQ(c.anim, line.animName);
        EXPECT_EQ(c.bAnimRequested, line.bAnimRequested);
    }
}

TEST(QevViewCommandLine, LongNamesAreCutTo127Characters)
{
    std::string longName(300, 'm');
    std::string text = "-model " + longName + " -anim " + longName;
    QevViewCommandLine line = {};
    QevView_ParseCommandLine(&line, text.c_str());
    EXPECT_EQ(longName.substr(0, 127), line.modelName);
    EXPECT_EQ(longName.substr(0, 127), line.animName);
    EXPECT_EQ(1u, line.bAnimRequested);
}

TEST(QevViewOrbit, StartsAboveTheModelLookingAlongTheOrbit)
{
    QevViewControls controls;
    QevView_InitControls(&controls, 0);
    EXPECT_FLOAT_EQ(30.0f, controls.orbitAngles.x);
    EXPECT_FLOAT_EQ(180.0f, controls.orbitAngles.z);
    EXPECT_FLOAT_EQ(150.0f, controls.orbitDistance);
    EXPECT_FLOAT_EQ(50.0f, controls.orbitTarget.z);
    EXPECT_FLOAT_EQ(1.0f, controls.speed);
    EXPECT_EQ(0u, controls.bPlaying);
    EXPECT_EQ(0u, controls.bStatsShown);
    for (uint32_t on : controls.aLightOn) EXPECT_EQ(1u, on);

    // Pitch 30 raises the eye, yaw 180 turns it to -y: (0, -cos 30, sin 30) x 150.
    mathVec3 eye;
    QevView_OrbitEye(&controls, &eye);
    EXPECT_NEAR(0.0f, eye.x, 0.01f);
    EXPECT_NEAR(-129.904f, eye.y, 0.05f);   // table sine
    EXPECT_NEAR(75.0f, eye.z, 0.05f);
}

TEST(QevViewOrbit, DragTurnsByTheMouseAndAReleaseKeepsSpinning)
{
    QevViewControls controls;
    QevView_InitControls(&controls, 0);
    Frames frames;
    frames.Next().Press(STDINPUT_MOUSE_BUTTON0);
    frames.state.mouseDx = 3;
    frames.state.mouseDy = -2;
    QevView_ApplyMouse(&controls, &frames.state, 0.02f);
    EXPECT_FLOAT_EQ(28.0f, controls.orbitAngles.x);
    EXPECT_FLOAT_EQ(183.0f, controls.orbitAngles.z);
    EXPECT_FLOAT_EQ(-120.0f, controls.spin.x);
    EXPECT_FLOAT_EQ(0.0f, controls.spin.y);
    EXPECT_FLOAT_EQ(180.0f, controls.spin.z);

    frames.Next();   // still held, the mouse resting: the spin drops to zero
    QevView_ApplyMouse(&controls, &frames.state, 0.02f);
    EXPECT_FLOAT_EQ(0.0f, controls.spin.z);

    frames.Next();
    frames.state.mouseDx = 1;
    QevView_ApplyMouse(&controls, &frames.state, 0.02f);
    frames.Next().Release(STDINPUT_MOUSE_BUTTON0);
    frames.state.mouseDx = 50;   // movement without the button does not turn
    for (int i = 0; i < 4; ++i) QevView_ApplyMouse(&controls, &frames.state, 0.25f);
    EXPECT_FLOAT_EQ(184.0f + 60.0f, controls.orbitAngles.z);
    EXPECT_FLOAT_EQ(28.0f, controls.orbitAngles.x);
}

class QevViewKeys : public testing::Test {
protected:
    void SetUp() override { QevView_InitControls(&controls, 1); }
    uint32_t Frame(float dt = 0.01f) { return QevView_ApplyKeys(&controls, &frames.state, dt, &instance); }

    QevViewControls controls;
    QevViewInstanceKeys instance = {0x100, 0.5f};
    Frames frames;
};

TEST_F(QevViewKeys, PressesToggleOnceAndHeldKeysDoNothingMore)
{
    frames.Next().Press(DIK_1).Press(DIK_3).Press(DIK_L).Press(DIK_F).Press(DIK_SPACE);
    EXPECT_EQ((uint32_t)QEVVIEW_CHANGED_FLAGS, Frame());
    EXPECT_EQ(0u, controls.aLightOn[0]);
    EXPECT_EQ(1u, controls.aLightOn[1]);
    EXPECT_EQ(0u, controls.aLightOn[2]);
    EXPECT_EQ(0x102u, instance.flags);
    EXPECT_EQ(1u, controls.bStatsShown);
    EXPECT_EQ(1u, controls.bPlaying);

    frames.Next();   // the same keys still down: only held now
    EXPECT_EQ(0u, Frame());
    EXPECT_EQ(0u, controls.aLightOn[0]);
    EXPECT_EQ(0x102u, instance.flags);
    EXPECT_EQ(1u, controls.bPlaying);

    frames.Next().Press(DIK_D).Press(DIK_2).Press(DIK_4);
    EXPECT_EQ((uint32_t)(QEVVIEW_CHANGED_FLAGS | QEVVIEW_TOGGLED_LOD_LOCK), Frame());
    EXPECT_EQ(0x112u, instance.flags);
    EXPECT_EQ(0u, controls.aLightOn[1]);
    EXPECT_EQ(0u, controls.aLightOn[3]);
    frames.Next().Press(DIK_D).Press(DIK_L);
    Frame();
    EXPECT_EQ(0x100u, instance.flags);
}

TEST_F(QevViewKeys, SpaceTogglesPlayingOnlyWhenAnAnimationWasNamed)
{
    QevView_InitControls(&controls, 0);
    frames.Next().Press(DIK_SPACE);
    Frame();
    EXPECT_EQ(0u, controls.bPlaying);
}

TEST_F(QevViewKeys, DetailStepsStopAtTheEndsAndZHXJAreTheSameActions)
{
    struct { int key; float from, to; } cases[] = {
        {DIK_Z, 0.5f, 0.4f}, {DIK_H, 0.5f, 0.4f}, {DIK_X, 0.5f, 0.6f}, {DIK_J, 0.5f, 0.6f},
        {DIK_Z, 0.0f, 0.0f}, {DIK_H, 0.05f, 0.0f}, {DIK_X, 1.0f, 1.0f}, {DIK_J, 0.95f, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        instance.detail = c.from;
        frames.Next().Press(c.key);
        EXPECT_EQ((uint32_t)QEVVIEW_CHANGED_DETAIL, Frame());
        EXPECT_NEAR(c.to, instance.detail, 1e-6f);
        frames.Release(c.key);
    }
    instance.detail = 0.5f;   // Z and X in one frame cancel; so do Z and J
    frames.Next().Press(DIK_Z).Press(DIK_J);
    Frame();
    EXPECT_NEAR(0.5f, instance.detail, 1e-6f);
}

TEST_F(QevViewKeys, SpeedStopsAtATenthAndAtTen)
{
    for (int i = 0; i < 30; ++i) {
        frames.Next().Press(DIK_MINUS);
        Frame();
    }
    EXPECT_FLOAT_EQ(0.1f, controls.speed);
    frames.Release(DIK_MINUS);
    for (int i = 0; i < 200; ++i) {
        frames.Next().Press(DIK_EQUALS);
        Frame();
    }
    EXPECT_FLOAT_EQ(10.0f, controls.speed);
}

TEST_F(QevViewKeys, HeldKeysMoveTheTargetAndDistanceByTwoHundredPerSecondWithinTheirLimits)
{
    frames.Next().Press(DIK_UP).Press(DIK_LEFT);
    Frame(0.1f);
    EXPECT_FLOAT_EQ(70.0f, controls.orbitTarget.z);
    EXPECT_FLOAT_EQ(20.0f, controls.orbitTarget.x);
    frames.Next();   // held, not pressed again: still moves
    Frame(0.1f);
    EXPECT_FLOAT_EQ(90.0f, controls.orbitTarget.z);
    for (int i = 0; i < 100; ++i) Frame(0.1f);
    EXPECT_FLOAT_EQ(500.0f, controls.orbitTarget.z);
    frames.Press(DIK_DOWN).Press(DIK_RIGHT);   // both directions cancel
    Frame(0.1f);
    EXPECT_FLOAT_EQ(500.0f, controls.orbitTarget.z);
    frames.Release(DIK_UP).Release(DIK_LEFT);
    for (int i = 0; i < 100; ++i) Frame(0.1f);
    EXPECT_FLOAT_EQ(0.0f, controls.orbitTarget.z);
    EXPECT_NEAR(40.0f, controls.orbitTarget.x, 1e-3f);
    EXPECT_FLOAT_EQ(0.0f, controls.orbitTarget.y);
    frames.Release(DIK_DOWN).Release(DIK_RIGHT);

    frames.Next().Press(DIK_PRIOR);
    Frame(0.5f);
    EXPECT_FLOAT_EQ(50.0f, controls.orbitDistance);
    for (int i = 0; i < 10; ++i) Frame(0.5f);
    EXPECT_FLOAT_EQ(1.0f, controls.orbitDistance);
    frames.Release(DIK_PRIOR).Press(DIK_NEXT);
    for (int i = 0; i < 200; ++i) Frame(1.0f);
    EXPECT_FLOAT_EQ(10000.0f, controls.orbitDistance);
}

TEST_F(QevViewKeys, ReturnResetsTheViewButKeepsPlayingDetailAndFlags)
{
    controls.orbitAngles = {1.0f, 2.0f, 3.0f};
    controls.orbitDistance = 900.0f;
    controls.orbitTarget = {40.0f, 0.0f, 300.0f};
    controls.spin = {5.0f, 0.0f, 7.0f};
    controls.aLightOn[2] = 0;
    controls.speed = 4.0f;
    controls.bPlaying = 1;
    controls.bStatsShown = 1;
    instance = {0x12, 0.3f};
    frames.Next().Press(DIK_RETURN);
    EXPECT_EQ(0u, Frame());
    QevViewControls expected;
    QevView_InitControls(&expected, 1);
    EXPECT_EQ(0, memcmp(&expected.orbitAngles, &controls.orbitAngles, sizeof(mathAngles)));
    EXPECT_FLOAT_EQ(150.0f, controls.orbitDistance);
    EXPECT_EQ(0, memcmp(&expected.orbitTarget, &controls.orbitTarget, sizeof(mathVec3)));
    EXPECT_FLOAT_EQ(0.0f, controls.spin.z);
    EXPECT_EQ(1u, controls.aLightOn[2]);
    EXPECT_FLOAT_EQ(1.0f, controls.speed);
    EXPECT_EQ(1u, controls.bPlaying);
    EXPECT_EQ(1u, controls.bStatsShown);
    EXPECT_EQ(0x12u, instance.flags);
    EXPECT_FLOAT_EQ(0.3f, instance.detail);
}

}  // namespace
