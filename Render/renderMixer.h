// The animation mixer of a model instance: a main channel with the running animation and a
// second channel that overrides it, turned into one pose per bone (Euler angles in degrees and
// a translation), cross-faded from the previous pose whenever what plays changes.
#pragma once
#include <cstdint>

#include "mathTypes.h"
#include "renderKeyframe.h"

struct ModelInstance;

// Play flags
enum : uint32_t {
    PLAY_ONCE = 0x1,           // at the end the channel is cleared and the advance reports it
    PLAY_HOLD = 0x10,          // at the end the frame stays at the track's end
    PLAY_END_EVENT = 0x20,     // with PLAY_ONCE: event 19 at the end
    PLAY_NO_FADE = 0x40,
    PLAY_VARY_SPEED = 0x100,   // up to 25% either way, at random
    PLAY_HOLD_BONE0 = 0x200,   // second channel: bone 0's rotation is not blended while fading
    PLAY_FROM_END = 0x800,
    PLAY_HOLDING = 0x1000,     // internal: holding at the end
    PLAY_END_EVENT_ALT = 0x2000,   // with PLAY_ONCE: event 20 at the end
};

const float MIXER_MAX_SPEED = 300.0f;
const float MIXER_FADE_RATE = 5.0f;

struct MixerChannel {
    uint32_t flags;
    Track* pTrack;          // null while idle
    float curFrame;
    float speed;            // frames per unit of advance time
    uint32_t* curBase;      // per curve: the key used last; searched forward from there
    uint32_t curBaseSize;   // room in curBase: curves past it are not evaluated
};

struct Mixer {
    MixerChannel main;
    MixerChannel second;
    mathVec3* aCurRotation;
    mathVec3* aCurTranslation;
    mathVec3* aMixRotation;      // the pose being faded out
    mathVec3* aMixTranslation;
    float weight;                // share of the faded-out pose, 1 down to 0
    float fadeRate;              // weight lost per unit of advance time
    uint16_t numBones;
    uint16_t holdBone0;
    uint32_t userValue;
    uint32_t stamp;              // frame of the last evaluation
    ModelInstance* pInstance;

    int Play(Track* track, float speed, uint32_t flags);
    int PlaySecond(Track* track, float speed, uint32_t flags);
    Track* Stop();
    int StopMain();
    void StopSecond();
    void Advance(float step);
    int AdvanceChannel(MixerChannel* channel, float step);
    void Evaluate();
    void EvaluateChannel(MixerChannel* channel, mathVec3* rotations, mathVec3* translations);
};

int renderMixer_Create(ModelInstance* instance, uint32_t userValue);
void renderMixer_Free(ModelInstance* instance);
void renderMixer_StartFade(Mixer* mixer, float fadeRate);
void renderMixer_Evaluate(ModelInstance* instance);
int renderKeyframe_PlayTrack(MixerChannel* channel, Track* track, float speed, uint32_t flags);
