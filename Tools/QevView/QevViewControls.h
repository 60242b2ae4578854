// What the viewer's user drives: the command line, the orbit of the camera round the model, the
// four light switches, the play speed and the toggles, worked out from the key state table and
// the frame time. Kept apart from the window and the drawing so that it runs without either.
#pragma once
#include <cstdint>

#include "mathTypes.h"
#include "stdInput.h"

enum {
    QEVVIEW_NAME_SIZE = 128,
    QEVVIEW_NUM_LIGHTS = 4,
};

// Bits of the model instance's flags word that keys toggle.
enum : uint32_t {
    QEVVIEW_INSTANCE_NO_LIGHTING = 0x2,
    QEVVIEW_INSTANCE_LOD_LOCKED = 0x10,
};

struct QevViewCommandLine {
    char modelName[QEVVIEW_NAME_SIZE];   // "test.qev" unless named
    char animName[QEVVIEW_NAME_SIZE];    // empty unless named
    uint32_t bAnimRequested;
};

struct QevViewControls {
    mathAngles orbitAngles;       // degrees
    float orbitDistance;          // [1, 10000]
    mathVec3 orbitTarget;         // z in [0, 500]; y never changes
    mathVec3 spin;                // degrees per second, kept after a drag
    uint32_t aLightOn[QEVVIEW_NUM_LIGHTS];
    float speed;                  // animation play speed, [0.1, 10]
    uint32_t bAnimRequested;
    uint32_t bPlaying;
    uint32_t bStatsShown;
};

// The instance's state that keys change; the frame reads it from the instance and writes back.
struct QevViewInstanceKeys {
    uint32_t flags;               // the instance's flags word
    float detail;                 // level-of-detail fraction, [0, 1]
};

// What QevView_ApplyKeys changed beyond the controls.
enum : uint32_t {
    QEVVIEW_CHANGED_FLAGS = 0x1,
    QEVVIEW_CHANGED_DETAIL = 0x2,
    QEVVIEW_TOGGLED_LOD_LOCK = 0x4,
};

// Splits the line at blanks and tabs: "-model"/"/model" and "-anim"/"/anim" take the next token;
// any other token ends the parse. Names are cut to 127 characters.
void QevView_ParseCommandLine(QevViewCommandLine* out, const char* commandLine);

// The start of the viewer: orbit and lights reset, not playing, statistics hidden.
void QevView_InitControls(QevViewControls* controls, uint32_t bAnimRequested);
// Return: orbit, distance, target, spin, all lights on and speed 1; playing and toggles stay.
void QevView_ResetView(QevViewControls* controls);
// The eye: (0, 1, 0) turned by the orbit angles, at the orbit distance from the world origin.
void QevView_OrbitEye(const QevViewControls* controls, mathVec3* eye);
// A drag with the left button turns the orbit by the mouse movement and sets the spin that a
// release leaves turning; with the button up the spin turns it.
void QevView_ApplyMouse(QevViewControls* controls, const stdInputState* input, float dt);
// The keys of one frame in their fixed order; returns the QEVVIEW_CHANGED_* bits.
uint32_t QevView_ApplyKeys(QevViewControls* controls, const stdInputState* input, float dt,
                           QevViewInstanceKeys* instance);
