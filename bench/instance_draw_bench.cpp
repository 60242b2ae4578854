// Drawing a model instance through renderModel_Draw against the same draw done the simplest
// way: the bone frames the raster table reads (clip matrix and inverse) computed directly and
// the instance handed to the table's two slots. Three cases, each with its own bare baseline:
//   still   the bones placed by the instance's frame;
//   moving  the same, with a distance that changes the level of detail every frame: the bare
//           baseline rebuilds the triangle lists through the collapse map;
//   anim    a track played: the bare baseline evaluates each curve's key at the frame, builds
//           the bones' poses along their parents and places them.
// The table is the recording fake, so the figures are the front-end's own work.
//
//   render_anim_bench.exe [frames]
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench.h"
#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "fixtureJup.h"
#include "fixtureQev.h"
#include "mathFrame.h"
#include "mathMatrix.h"
#include "renderBitmap.h"
#include "renderCamera.h"
#include "renderKeyframe.h"
#include "renderMain.h"
#include "renderMaterial.h"
#include "renderMixer.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "renderSettings.h"
#include "stdFile.h"

namespace {

const float kStep = 0.016f, kSpeed = 30.0f;   // seconds a frame, track frames a second
const int kRounds = 7;

void PlaceCamera(Camera* camera, float distance)
{
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[10] = -distance;
    renderCamera_SetFrame(camera, &frame);
}

void HandOver(ModelInstance* instance)
{
    renderMain_rasterLib.funcLight_NewModel(instance);
    renderMain_rasterLib.funcModel_Draw(instance, instance, 0);
}

// A bone placed by a frame: what the table reads of it.
void PlaceBone(InstanceBone* bone, const mathFrame* frame, const Camera* camera)
{
    mathFrame_Invert(&bone->inverse, frame);
    mathMatrix_MultiplyFrame(&bone->clip, &camera->viewProjection, frame);
}

void BareStill(ModelInstance* instance, const mathFrame* frame, const Camera* camera)
{
    for (int b = 0; b < instance->pModel->numBones; b++) PlaceBone(&instance->pBones[b], frame, camera);
}

// The detail the distance asks for, and each part's triangles collapsed to it: a triangle's
// corners follow the collapse map below the vertices kept; the first triangle that collapsed
// ends the part's list.
void BareDetail(ModelInstance* instance, float depth)
{
    const float over = (depth - renderSettings_current.modelLODMinDist) * renderSettings_current.modelLODScale;
    float detail = over > 0.0f ? 1.0f / (over + 1.0f) : 1.0f;
    detail = std::fmin(std::fmax(detail, renderSettings_current.modelLODMin), renderSettings_current.modelLODMax);
    for (int p = 0; p < instance->pModel->numParts; p++) {
        InstancePart& part = instance->pParts[p];
        const ModelPart& model = *part.pModelPart;
        const uint16_t keep = (uint16_t)(model.minVerts + (model.numVerts - model.minVerts) * detail);
        part.lodVerts = keep;
        part.drawTris = model.numTris;
        for (int t = 0; t < model.numTris; t++) {
            uint16_t v[3];
            for (int k = 0; k < 3; k++)
                for (v[k] = model.pTris[t].v[k]; v[k] >= keep;) v[k] = model.pCollapse[v[k]];
            part.pTris[t] = {{v[0], v[1], v[2]}};
            if (v[0] == v[1] || v[1] == v[2] || v[2] == v[0]) {
                part.drawTris = (uint16_t)t;
                break;
            }
        }
    }
}

// The pose at a frame of the track: each curve's last key at or before the frame gives
// value + c1 t + c2 t^2 + c3 t^3; each bone turns by its angles, moves by its translation plus
// its rest translation, and hangs on its parent's pose; then the instance's frame and the rest
// frame place it.
void BareAnimated(ModelInstance* instance, const Track* track, float frame, const mathFrame* placed,
                  const Camera* camera)
{
    const Model* model = instance->pModel;
    static std::vector<mathVec3> turn, move;
    turn.assign(model->numBones, mathVec3{0, 0, 0});
    move.assign(model->numBones, mathVec3{0, 0, 0});
    for (uint32_t c = 0; c < track->numCurves; c++) {
        const TrackCurve& curve = track->curves[c];
        if (curve.numKeys == 0 || curve.bone >= model->numBones) continue;
        uint32_t k = 0;
        while (k + 1 < curve.numKeys && curve.keys[k + 1].baseFrame <= frame) k++;
        const TrackKey& key = curve.keys[k];
        const float t = std::fmax(frame - key.baseFrame, 0.0f) * key.timeScale;
        float* out = curve.kind == TRACK_KIND_ROTATION ? &turn[curve.bone].x : &move[curve.bone].x;
        for (int i = 0; i < 3; i++) out[i] += key.value[i] + t * (key.c1[i] + t * (key.c2[i] + t * key.c3[i]));
    }
    for (int b = 0; b < model->numBones; b++) {
        InstanceBone& bone = instance->pBones[b];
        mathFrame local;
        mathFrame_RotationFromAngles(&local, &turn[b]);
        local.m[9] = move[b].x + model->pBones[b].translation.x;
        local.m[10] = move[b].y + model->pBones[b].translation.y;
        local.m[11] = move[b].z + model->pBones[b].translation.z;
        if (bone.link >= 0) mathFrame_Multiply(&bone.pose, &instance->pBones[bone.link].pose, &local);
        else bone.pose = local;
        mathFrame world, modelFrame;
        mathFrame_Multiply(&world, placed, &bone.pose);
        mathFrame_Multiply(&modelFrame, &world, &model->pBones[b].frame);
        PlaceBone(&bone, &modelFrame, camera);
    }
}

// The bare pose must be the mixer's: both are computed at the mixer's frame and compared.
bool SamePose(ModelInstance* instance, const Track* track, const mathFrame* origin, const Camera* camera)
{
    renderMain_EndFrame(0);
    renderModel_Draw(instance, origin, 0);
    const std::vector<InstanceBone> mixed(instance->pBones, instance->pBones + instance->pModel->numBones);
    BareAnimated(instance, track, instance->pMixer->main.curFrame, origin, camera);
    for (size_t b = 0; b < mixed.size(); b++)
        for (int i = 0; i < 16; i++)
            if (std::fabs(mixed[b].clip.m[i] - instance->pBones[b].clip.m[i]) > 1e-3f * (1.0f + std::fabs(mixed[b].clip.m[i])))
                return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? atoi(argv[1]) : 2000;
    fixtures::WorkFolder work("anim_bench");
    fixtures::MakeFolders("3D\\Models");
    fixtures::MakeFolders("3D\\Anims");
    stdFile_Startup();
    renderBitmap_Startup();
    renderMaterial_Startup();
    renderModel_Startup();
    renderKeyframe_Startup();
    fakes::FakeRaster raster;
    if (!raster.Bind()) return 1;
    renderSettings_current.modelLODMin = 0.0f;
    renderSettings_current.modelLODMax = 1.0f;
    renderSettings_current.modelLODMinDist = 200.0f;
    renderSettings_current.modelLODScale = 0.01f;
    Camera* camera = renderCamera_Create(90.0f, 0, 1.0f, 1000.0f, 1.0f);
    Viewport* viewport = renderViewport_Create(0, 0, 0, 639, 479);
    renderCamera_SetViewport(camera, viewport);
    PlaceCamera(camera, 300.0f);
    renderCamera_Select(camera);

    fixtures::JupFile walk;
    walk.duration = 60;
    for (uint32_t bone = 0; bone < 2; bone++) {
        fixtures::JupCurve curve;
        curve.bone = bone;
        for (int k = 0; k < 30; k++) curve.keys.push_back(fixtures::MakeCubicKey((float)k * 2, 0.5f, 1, 2, 0.5f, 0.1f));
        walk.curves.push_back(curve);
    }
    fixtures::WriteJup("3D\\Anims\\walk.jup", walk);
    Track* track = renderKeyframe_GetTrack("walk", TRACK_LOAD_NOW);
    if (!track) return 1;

    mathFrame origin;
    mathFrame_Identity(&origin);
    // Rounds of frames, each ended alike after its draw; the fake's call log is emptied now and then.
    int frame = 0;
    auto framesOf = [&](auto draw) {
        return [&, draw] {
            for (int i = 0; i < frames; i++, frame++) {
                draw(frame);
                renderMain_EndFrame(0);
                if ((frame & 255) == 255) raster.ClearCalls();
            }
        };
    };
    printf("Instance drawing: median of %d runs of %d frames, us a frame, ratio = renderModel_Draw / bare\n",
           kRounds, frames);
    printf("%8s | %7s %7s %5s | %7s %7s %5s | %7s %7s %5s\n", "vertices", "still", "bare", "ratio", "moving",
           "bare", "ratio", "anim", "bare", "ratio");
    for (int verts : {256, 1024, 4096}) {
        char name[32];
        snprintf(name, sizeof name, "bench%d", verts);
        fixtures::WriteQev(std::string("3D\\Models\\") + name + ".qev", fixtures::MakeQevModel({}, 1, verts, true));
        ModelInstance* instance = renderModelInstance_Load(name);
        if (!instance) return 1;
        const benchPair still = bench_Compare(kRounds, framesOf([&](int) {
            BareStill(instance, &origin, camera);
            HandOver(instance);
        }), framesOf([&](int) { renderModel_Draw(instance, &origin, 0); }));
        auto depth = [](int i) { return (i & 1) ? 300.0f : 600.0f; };
        const benchPair moving = bench_Compare(kRounds, framesOf([&](int i) {
            PlaceCamera(camera, depth(i));
            BareStill(instance, &origin, camera);
            BareDetail(instance, instance->pBones[0].clip.m[14]);
            HandOver(instance);
        }), framesOf([&](int i) {
            PlaceCamera(camera, depth(i));
            renderModel_Draw(instance, &origin, 0);
        }));
        PlaceCamera(camera, 300.0f);
        renderMixer_Create(instance, 0);
        instance->pMixer->Play(track, kSpeed, 0);
        float bareFrame = 0.0f;
        const benchPair anim = bench_Compare(kRounds, framesOf([&](int) {
            bareFrame = std::fmod(bareFrame + kSpeed * kStep, track->duration);
            BareAnimated(instance, track, bareFrame, &origin, camera);
            HandOver(instance);
        }), framesOf([&](int) {
            instance->pMixer->Advance(kStep);
            renderModel_Draw(instance, &origin, 0);
        }));
        if (!SamePose(instance, track, &origin, camera)) {
            fprintf(stderr, "the bare pose is not the mixer's\n");
            return 1;
        }
        const double us = 1e6 / frames;
        printf("%8d | %7.3f %7.3f %5.2f | %7.3f %7.3f %5.2f | %7.3f %7.3f %5.2f\n", verts, still.subject * us,
               still.bare * us, still.Ratio(), moving.subject * us, moving.bare * us, moving.Ratio(),
               anim.subject * us, anim.bare * us, anim.Ratio());
        fflush(stdout);
        renderModelInstance_Free(instance, 1);
    }
    renderKeyframe_ReleaseTrack(track);
    renderCamera_Select(nullptr);
    renderCamera_Free(camera);
    renderViewport_Free(viewport);
    return 0;
}
