#include "renderCamera.h"

#include <cstdlib>
#include <cstring>

#include "mathAngle.h"
#include "mathFrame.h"
#include "mathMatrix.h"
#include "renderMainRaster.h"

namespace {

Camera* g_pCurrentCamera;

const float kMinFov = 0.5f, kMaxFov = 120.0f;
const float kMinAspect = 0.1f, kMaxAspect = 10.0f;

float Clamp(float value, float low, float high)
{
    return value < low ? low : value > high ? high : value;
}

// A clip rectangle always lies inside the viewport and is at least one pixel wide and high,
// so the projection never divides by zero.
void SetClip(Camera* c, float left, float right, float top, float bottom)
{
    const Viewport* v = c->pViewport;
    c->clipLeft = Clamp(left, v->left, v->right);
    c->clipRight = Clamp(right, c->clipLeft, v->right);
    c->clipTop = Clamp(top, v->top, v->bottom);
    c->clipBottom = Clamp(bottom, c->clipTop, v->bottom);
}

}  // namespace

Camera* renderCamera_Create(float fov, uint32_t kind, float nearPlane, float farPlane, float aspect)
{
    Camera* camera = (Camera*)calloc(1, sizeof(Camera));
    if (!camera) return nullptr;
    camera->fov = Clamp(fov, kMinFov, kMaxFov);
    camera->kind = kind;
    camera->nearPlane = nearPlane;
    camera->farPlane = farPlane;
    camera->aspect = aspect;
    mathFrame_Identity(&camera->frame);
    mathFrame_Identity(&camera->view);
    return camera;
}

void renderCamera_Free(Camera* camera)
{
    if (camera == g_pCurrentCamera) g_pCurrentCamera = nullptr;
    free(camera);
}

int renderCamera_SetViewport(Camera* camera, Viewport* viewport)
{
    camera->pViewport = viewport;
    SetClip(camera, viewport->left, viewport->right, viewport->top, viewport->bottom);
    return renderCamera_BuildProjection(camera);
}

int renderCamera_SetClipRect(Camera* camera, float left, float right, float top, float bottom)
{
    if (!camera->pViewport) return 0;
    SetClip(camera, left, right, top, bottom);
    return renderCamera_BuildProjection(camera);
}

int renderCamera_ResetClipRect(Camera* camera)
{
    const Viewport* v = camera->pViewport;
    if (!v) return 0;
    SetClip(camera, v->left, v->right, v->top, v->bottom);
    return renderCamera_BuildProjection(camera);
}

float* renderCamera_GetClipRect(const Camera* camera, float* out)
{
    out[0] = camera->clipLeft;
    out[1] = camera->clipTop;
    out[2] = camera->clipRight;
    out[3] = camera->clipBottom;
    return out;
}

int renderCamera_SetFov(Camera* camera, float fov)
{
    camera->fov = Clamp(fov, kMinFov, kMaxFov);
    return renderCamera_BuildProjection(camera);
}

int renderCamera_SetAspect(Camera* camera, float aspect)
{
    camera->aspect = Clamp(aspect, kMinAspect, kMaxAspect);
    return renderCamera_BuildProjection(camera);
}

void renderCamera_SetFrame(Camera* camera, const mathFrame* frame)
{
    camera->frame = *frame;
    // Camera space has x right, y up and z forward: swap the forward and up rows first.
    mathFrame swapped = *frame;
    memcpy(&swapped.m[3], &frame->m[6], 3 * sizeof(float));
    memcpy(&swapped.m[6], &frame->m[3], 3 * sizeof(float));
    mathFrame_Invert(&camera->view, &swapped);
    mathMatrix_MultiplyFrame(&camera->viewProjection, &camera->projection, &camera->view);
}

int renderCamera_BuildProjection(Camera* c)
{
    const Viewport* v = c->pViewport;
    if (!v) return 0;
    const float halfW = (v->right - v->left + 1.0f) * 0.5f;
    const float halfH = (v->bottom - v->top + 1.0f) * 0.5f;
    c->focal = halfW / mathAngle_Tan(c->fov * 0.5f);
    const float cw = (c->clipRight - c->clipLeft + 1.0f) * 0.5f;
    const float ch = (c->clipBottom - c->clipTop + 1.0f) * 0.5f;
    float sine;
    mathAngle_SinCos(c->fov * 0.5f, &sine, &c->cosHalfFov);

    float* m = c->projection.m;
    memset(m, 0, sizeof c->projection);
    m[0] = c->focal / cw;
    m[5] = c->focal / ch;  // the horizontal focal length: square pixels
    m[8] = -((c->clipLeft + cw) - (v->left + halfW)) / cw;
    m[9] = ((c->clipTop + ch) - (v->top + halfH)) / ch;
    m[10] = c->farPlane / (c->farPlane - c->nearPlane);
    m[11] = 1.0f;
    m[14] = -c->nearPlane * c->farPlane / (c->farPlane - c->nearPlane);

    c->centreX = c->clipLeft + cw;
    c->centreY = c->clipTop + ch;
    c->scaleX = cw;
    c->scaleY = ch;
    mathMatrix_MultiplyFrame(&c->viewProjection, &c->projection, &c->view);
    return 1;
}

int renderCamera_Select(Camera* camera)
{
    if (camera == g_pCurrentCamera) return 1;
    g_pCurrentCamera = camera;
    if (renderMain_rasterLib.funcCamera_SetCurrent) renderMain_rasterLib.funcCamera_SetCurrent(camera);
    return 1;
}

Camera* renderCamera_GetCurrent()
{
    return g_pCurrentCamera;
}

void renderCamera_ProjectPoints(const Camera* camera, mathVec3* points, int count)
{
    const Viewport* v = camera->pViewport;
    if (!v) return;
    for (int i = 0; i < count; i++) {
        mathVec3* p = &points[i];
        const float s = p->y >= 0.001f ? camera->focal / p->y : 10000.0f;
        const float depth = p->y;
        p->x = p->x * s + v->centreX;
        p->y = v->centreY - camera->aspect * s * p->z;
        p->z = depth;
    }
}
