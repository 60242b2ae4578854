#include "renderMixer.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mathAngle.h"
#include "mathFrame.h"
#include "modelInstanceRecord.h"
#include "renderAssert.h"
#include "renderMainRaster.h"

namespace {

// The frame a track ends at. A duration that is not a positive finite number cannot be wrapped
// by: such a track ends at frame 0.
float EndFrame(const Track* track)
{
    float d = track->duration;
    return (d > 0.0f && std::isfinite(d)) ? d : 0.0f;
}

void ClearChannel(MixerChannel* channel)
{
    channel->flags = 0;
    channel->pTrack = nullptr;
}

// The curves of a track that the channel has room to follow.
uint32_t FollowedCurves(const MixerChannel* channel, const Track* track)
{
    return track->numCurves < channel->curBaseSize ? track->numCurves : channel->curBaseSize;
}

void RestartKeySearch(MixerChannel* channel)
{
    if (channel->pTrack)
        memset(channel->curBase, 0, FollowedCurves(channel, channel->pTrack) * sizeof(uint32_t));
}

// value + c1 t + c2 t^2 + c3 t^3 per component, added to out.
void AddKey(mathVec3* out, const TrackKey* key, float framesPastBase)
{
    float v[3];
    if (framesPastBase == 0.0f) {
        memcpy(v, key->value, sizeof v);
    } else {
        float t = framesPastBase * key->timeScale;
        for (int i = 0; i < 3; i++)
            v[i] = key->value[i] + t * (key->c1[i] + t * (key->c2[i] + t * key->c3[i]));
    }
    out->x += v[0];
    out->y += v[1];
    out->z += v[2];
}

void Blend(mathVec3* cur, const mathVec3* mix, float weight)
{
    cur->x += (mix->x - cur->x) * weight;
    cur->y += (mix->y - cur->y) * weight;
    cur->z += (mix->z - cur->z) * weight;
}

}  // namespace

int renderKeyframe_PlayTrack(MixerChannel* channel, Track* track, float speed, uint32_t flags)
{
    if (!channel || !track || !track->Load()) return 0;
    if (flags & PLAY_VARY_SPEED) {
        int r = rand() & 0x7FFF;
        speed = speed + speed * ((float)r * 0.5f / 32767.0f - 0.25f);
    }
    if (!(speed >= 0.0f)) speed = 0.0f;   // negative or not a number
    if (speed > MIXER_MAX_SPEED) speed = MIXER_MAX_SPEED;
    channel->speed = speed;
    channel->pTrack = track;
    channel->curFrame = (flags & PLAY_FROM_END) ? EndFrame(track) : 0.0f;
    channel->flags = flags;
    RestartKeySearch(channel);
    return 1;
}

int renderMixer_Create(ModelInstance* instance, uint32_t userValue)
{
    if (!instance || !instance->pModel) return 0;
    RENDER_ASSERT_TEXT(!instance->pMixer, "!pMixer");
    if (instance->pMixer) return 0;
    uint32_t numBones = instance->pModel->numBones;
    Mixer* mixer = (Mixer*)calloc(1, sizeof(Mixer));
    mathVec3* pose = (mathVec3*)calloc(4 * (size_t)numBones + 1, sizeof(mathVec3));
    uint32_t* mainBase = (uint32_t*)calloc(2 * (size_t)numBones + 1, sizeof(uint32_t));
    uint32_t* secondBase = (uint32_t*)calloc(2 * (size_t)numBones + 1, sizeof(uint32_t));
    // Nothing is attached unless all of it could be made.
    if (!mixer || !pose || !mainBase || !secondBase) {
        free(mixer), free(pose), free(mainBase), free(secondBase);
        return 0;
    }
    mixer->numBones = (uint16_t)numBones;
    mixer->pInstance = instance;
    mixer->userValue = userValue;
    mixer->aCurRotation = pose;
    mixer->aCurTranslation = pose + numBones;
    mixer->aMixRotation = pose + 2 * numBones;
    mixer->aMixTranslation = pose + 3 * numBones;
    mixer->main.curBase = mainBase;
    mixer->main.curBaseSize = 2 * numBones;
    mixer->second.curBase = secondBase;
    mixer->second.curBaseSize = 2 * numBones;
    instance->pMixer = mixer;
    return 1;
}

void renderMixer_Free(ModelInstance* instance)
{
    if (!instance || !instance->pMixer) return;
    Mixer* mixer = instance->pMixer;
    free(mixer->main.curBase);
    free(mixer->second.curBase);
    free(mixer->aCurRotation);
    free(mixer);
    instance->pMixer = nullptr;
}

void renderMixer_StartFade(Mixer* mixer, float fadeRate)
{
    RENDER_ASSERT_TEXT(mixer->aMixRotation && mixer->aMixTranslation,
                       "aMixRotation && aMixTranslation");
    RENDER_ASSERT_TEXT(mixer->aCurRotation && mixer->aCurTranslation,
                       "aCurRotation && aCurTranslation");
    RENDER_ASSERT_TEXT(fadeRate > 0.0f, "fadeRate > 0.0");
    size_t bytes = mixer->numBones * sizeof(mathVec3);
    memcpy(mixer->aMixRotation, mixer->aCurRotation, bytes);
    memcpy(mixer->aMixTranslation, mixer->aCurTranslation, bytes);
    if (mixer->numBones) mathAngles_Wrap180(&mixer->aMixRotation[0]);
    mixer->weight = 1.0f;
    mixer->fadeRate = fadeRate;
}

int Mixer::Play(Track* track, float speed, uint32_t flags)
{
    if (!track) return 0;
    if (main.pTrack == track) {
        main.flags = flags;
        return 1;
    }
    if (!track->Load()) return 0;
    bool wasPlaying = main.pTrack != nullptr;
    ClearChannel(&main);
    renderKeyframe_PlayTrack(&main, track, speed, flags);
    if (wasPlaying && !second.pTrack && !(flags & PLAY_NO_FADE))
        renderMixer_StartFade(this, MIXER_FADE_RATE);
    return 1;
}

int Mixer::PlaySecond(Track* track, float speed, uint32_t flags)
{
    if (!track || !track->Load()) return 0;
    bool fadeDue = second.pTrack || main.pTrack;
    ClearChannel(&second);
    renderKeyframe_PlayTrack(&second, track, speed, flags);
    if (fadeDue && !(flags & PLAY_NO_FADE)) {
        renderMixer_StartFade(this, MIXER_FADE_RATE);
        if (flags & PLAY_HOLD_BONE0) holdBone0 = 1;
    }
    return 1;
}

Track* Mixer::Stop()
{
    Track* track = main.pTrack;
    ClearChannel(&main);
    return track;
}

int Mixer::StopMain()
{
    if (!main.pTrack) return 0;
    ClearChannel(&main);
    return 1;
}

void Mixer::StopSecond()
{
    if (second.pTrack) ClearChannel(&second);
    renderMixer_StartFade(this, MIXER_FADE_RATE);
}

void Mixer::Advance(float step)
{
    if (!(step > 0.0f)) return;
    if (second.pTrack) {
        if (AdvanceChannel(&second, step)) renderMixer_StartFade(this, MIXER_FADE_RATE);
    } else if (main.pTrack) {
        AdvanceChannel(&main, step);
    }
    if (weight != 0.0f) {
        weight -= step * fadeRate;
        if (!(weight > 0.0f)) {
            weight = 0.0f;
            holdBone0 = 0;
        }
    }
}

int Mixer::AdvanceChannel(MixerChannel* ch, float step)
{
    RENDER_ASSERT_TEXT(ch, "this");
    if (!ch || !ch->pTrack || step == 0.0f || (ch->flags & PLAY_HOLDING)) return 0;
    Track* track = ch->pTrack;
    float d = ch->speed * step;
    ch->curFrame += d;
    if (!std::isfinite(ch->curFrame)) ch->curFrame = 0.0f;

    KeyTagCallback callback = renderKeyframe_GetCallback();
    if (callback) {
        // Both ends of the step count: a tag at the frame reached last time fires again.
        float from = ch->curFrame - d;
        for (uint32_t i = 0; i < track->numKeyTags; i++) {
            const KeyTag& tag = track->keyTags[i];
            if (tag.frame > ch->curFrame) break;
            if (tag.frame < from) continue;
            callback(ch, this, tag.id);
            if (ch->pTrack != track) return 0;
        }
    }

    float end = EndFrame(track);
    if (ch->curFrame >= end) {
        if (ch->flags & PLAY_HOLD) {
            ch->flags |= PLAY_HOLDING;
            ch->curFrame = end;
            return 0;
        }
        if (ch->flags & PLAY_ONCE) {
            uint32_t flags = ch->flags;
            ClearChannel(ch);
            if (callback && (flags & PLAY_END_EVENT)) callback(ch, this, KEYTAG_EVENT_END);
            if (callback && (flags & PLAY_END_EVENT_ALT)) callback(ch, this, KEYTAG_EVENT_END_ALT);
            return 1;
        }
        // Loop: one remainder instead of a subtraction per duration.
        ch->curFrame = end > 0.0f ? std::fmod(ch->curFrame, end) : 0.0f;
        RestartKeySearch(ch);
    }
    if (end > 0.0f) {
        RENDER_ASSERT_TEXT(ch->curFrame < track->duration, "curFrame < pTrack->duration");
        RENDER_ASSERT_TEXT(ch->curFrame >= 0.0f, "curFrame >= 0.0f");
    }
    return 0;
}

void Mixer::EvaluateChannel(MixerChannel* ch, mathVec3* rotations, mathVec3* translations)
{
    const Track* track = ch->pTrack;
    uint32_t numCurves = FollowedCurves(ch, track);
    for (uint32_t i = 0; i < numCurves; i++) {
        const TrackCurve& curve = track->curves[i];
        // A curve for a bone the model lacks, or without keys, drives nothing.
        if (curve.numKeys == 0 || curve.bone >= numBones) continue;
        uint32_t lastKey = curve.numKeys - 1;
        uint32_t k = ch->curBase[i];
        RENDER_ASSERT_TEXT(k <= lastKey, "curBase <= lastKey");
        if (k > lastKey) k = 0;
        while (k < lastKey && curve.keys[k + 1].baseFrame <= ch->curFrame) k++;
        ch->curBase[i] = k;
        // Before a first key that starts after frame 0, the key holds its start value.
        float framesPastBase = ch->curFrame - curve.keys[k].baseFrame;
        if (!(framesPastBase > 0.0f)) framesPastBase = 0.0f;
        mathVec3* out = curve.kind == TRACK_KIND_ROTATION ? rotations : translations;
        AddKey(&out[curve.bone], &curve.keys[k], framesPastBase);
    }
}

void Mixer::Evaluate()
{
    uint32_t frame = renderMain_GetFrameStamp();
    if (stamp == frame) return;
    stamp = frame;
    size_t bytes = numBones * sizeof(mathVec3);
    memset(aCurRotation, 0, bytes);
    memset(aCurTranslation, 0, bytes);
    if (second.pTrack) EvaluateChannel(&second, aCurRotation, aCurTranslation);
    else if (main.pTrack) EvaluateChannel(&main, aCurRotation, aCurTranslation);
    if (weight == 0.0f) return;
    for (uint32_t b = 0; b < numBones; b++) {
        if (b != 0 || !holdBone0) Blend(&aCurRotation[b], &aMixRotation[b], weight);
        Blend(&aCurTranslation[b], &aMixTranslation[b], weight);
    }
}

void renderMixer_Evaluate(ModelInstance* instance)
{
    if (!instance || !instance->pMixer) return;
    uint32_t frame = renderMain_GetFrameStamp();
    if (instance->stamp == frame) return;
    instance->stamp = frame;
    Mixer* mixer = instance->pMixer;
    mixer->Evaluate();
    const Model* model = instance->pModel;
    RENDER_ASSERT_TEXT(model->numBones == mixer->numBones, "pModel->numBones == pMixer->numBones");
    uint32_t numBones = model->numBones < mixer->numBones ? model->numBones : mixer->numBones;
    for (uint32_t i = 0; i < numBones; i++) {
        InstanceBone* bone = &instance->pBones[i];
        mathFrame local;
        mathFrame_RotationFromAngles(&local, &mixer->aCurRotation[i]);
        const mathVec3& t = mixer->aCurTranslation[i];
        const mathVec3& rest = model->pBones[i].translation;
        local.m[9] = t.x + rest.x;
        local.m[10] = t.y + rest.y;
        local.m[11] = t.z + rest.z;
        int32_t link = bone->link;
        if (link >= 0 && (uint32_t)link < numBones && (uint32_t)link != i)
            mathFrame_Multiply(&bone->pose, &instance->pBones[link].pose, &local);
        else
            bone->pose = local;
    }
}
