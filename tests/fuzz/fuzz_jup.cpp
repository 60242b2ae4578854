// Keyframe tracks (.jup): the track loader, then the track played on both channels of a mixer
// over the sample game's two-bone totem (from the work folder), forwards, once and held, with
// its key tags reported, evaluated and drawn every frame.
#include <cstdio>
#include <cstdlib>

#include "fuzzSupport.h"
#include "mathFrame.h"
#include "renderKeyframe.h"
#include "renderMixer.h"
#include "renderModelInstance.h"

namespace {

ModelInstance* g_pInstance;

void KeyTagSeen(MixerChannel*, Mixer*, int) {}

void Run(Mixer* mixer, int frames)
{
    mathFrame frame;
    mathFrame_Identity(&frame);
    for (int i = 0; i < frames; i++) {
        mixer->Advance(0.05f * (float)(i + 1));
        renderMixer_Evaluate(g_pInstance);
        renderModel_Draw(g_pInstance, &frame, 0);
        fuzz::NextFrame(16);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartLibraries();
    g_pInstance = renderModelInstance_Load("totem");
    if (!g_pInstance) {
        fprintf(stderr, "==fuzz== the work folder holds no 3D\\Models\\totem.qev\n");
        abort();
    }
    renderKeyframe_SetCallback(KeyTagSeen);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteInput("fuzz.jup", data, size);
    fuzz::Scope scope(size);
    Track* track = renderKeyframe_GetTrack("fuzz", TRACK_LOAD_NOW);
    if (track && renderMixer_Create(g_pInstance, 0)) {
        Mixer* mixer = g_pInstance->pMixer;
        if (mixer->Play(track, 30.0f, 0)) {
            Run(mixer, 3);
            mixer->PlaySecond(track, 60.0f, PLAY_ONCE | PLAY_END_EVENT | PLAY_HOLD_BONE0);
            Run(mixer, 2);
            mixer->StopSecond();
            mixer->Play(track, 300.0f, PLAY_HOLD | PLAY_NO_FADE);
            Run(mixer, 2);
        }
        for (int id = -1; id < 4; id++) renderKeyframe_GetKeyTagFrame(track, id);
        renderMixer_Free(g_pInstance);
    }
    if (track) renderKeyframe_ReleaseTrack(track);
    // A released track that was read waits on the cache's ring: the shutdown frees it.
    renderKeyframe_Shutdown();
    renderKeyframe_Startup();
    return 0;
}
