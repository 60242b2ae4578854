// Cameras and viewports: clamps, the projection and its clip rectangle, the view frame and
// point projection.
#include <gtest/gtest.h>

#include <cmath>

#include "fakeRaster.h"
#include "mathFrame.h"
#include "renderCamera.h"

namespace {

struct Clip {
    float x, y, z, w;
};

Clip Transform(const mathMatrix& m, float x, float y, float z)
{
    const float* e = m.m;
    return {x * e[0] + y * e[4] + z * e[8] + e[12], x * e[1] + y * e[5] + z * e[9] + e[13],
            x * e[2] + y * e[6] + z * e[10] + e[14], x * e[3] + y * e[7] + z * e[11] + e[15]};
}

class RenderCamera : public ::testing::Test {
protected:
    void SetUp() override
    {
        viewport = renderViewport_Create(7, 0, 0, 640, 480);
        camera = renderCamera_Create(90, 1, 1, 1000, 1);
        ASSERT_NE(viewport, nullptr);
        ASSERT_NE(camera, nullptr);
    }
    void TearDown() override
    {
        renderCamera_Free(camera);
        renderViewport_Free(viewport);
    }
    Viewport* viewport = nullptr;
    Camera* camera = nullptr;
};

}  // namespace

TEST_F(RenderCamera, FieldOfViewAndAspectAreClamped)
{
    Camera* narrow = renderCamera_Create(0.1f, 1, 1, 10, 50);
    Camera* wide = renderCamera_Create(170, 1, 1, 10, 1);
    EXPECT_EQ(narrow->fov, 0.5f);
    EXPECT_EQ(narrow->aspect, 50.0f);  // only the setter clamps
    EXPECT_EQ(wide->fov, 120.0f);
    EXPECT_EQ(narrow->pViewport, nullptr);
    EXPECT_EQ(narrow->flags, 0u);
    renderCamera_SetAspect(narrow, 50);
    EXPECT_EQ(narrow->aspect, 10.0f);
    renderCamera_SetAspect(narrow, 0.01f);
    EXPECT_EQ(narrow->aspect, 0.1f);
    renderCamera_SetFov(wide, 200);
    EXPECT_EQ(wide->fov, 120.0f);
    renderCamera_Free(narrow);
    renderCamera_Free(wide);
}

TEST_F(RenderCamera, AViewportGivesCentreFocalAndProjection)
{
    EXPECT_EQ(viewport->id, 7u);
    EXPECT_EQ(viewport->centreX, 320.5f);
    EXPECT_EQ(viewport->centreY, 240.5f);
    EXPECT_EQ(renderCamera_SetViewport(camera, viewport), 1);
    EXPECT_NEAR(camera->focal, 320.5f, 0.05f);
    EXPECT_NEAR(camera->cosHalfFov, std::sqrt(0.5f), 0.001f);
    EXPECT_EQ(camera->centreX, 320.5f);
    EXPECT_EQ(camera->centreY, 240.5f);
    EXPECT_EQ(camera->scaleX, 320.5f);
    EXPECT_EQ(camera->scaleY, 240.5f);
    const float* p = camera->projection.m;
    EXPECT_NEAR(p[0], 1.0f, 0.001f);
    EXPECT_NEAR(p[5], 320.5f / 240.5f, 0.001f);
    EXPECT_EQ(p[8], 0.0f);
    EXPECT_EQ(p[9], 0.0f);
    EXPECT_FLOAT_EQ(p[10], 1000.0f / 999.0f);
    EXPECT_EQ(p[11], 1.0f);
    EXPECT_FLOAT_EQ(p[14], -1000.0f / 999.0f);
    EXPECT_EQ(p[15], 0.0f);
}

TEST_F(RenderCamera, ClipRectanglesStayInsideTheViewportAndAtLeastOnePixel)
{
    renderCamera_SetViewport(camera, viewport);
    EXPECT_EQ(renderCamera_SetClipRect(camera, -50, 900, -10, 300), 1);
    float rect[4];
    renderCamera_GetClipRect(camera, rect);
    EXPECT_EQ(rect[0], 0.0f);
    EXPECT_EQ(rect[1], 0.0f);
    EXPECT_EQ(rect[2], 640.0f);
    EXPECT_EQ(rect[3], 300.0f);
    // Off the viewport's centre: the projection shifts the picture.
    EXPECT_NE(camera->projection.m[9], 0.0f);
    EXPECT_EQ(camera->centreY, 150.5f);

    // Wholly outside the viewport: one pixel at its edge, and no division by zero.
    renderCamera_SetClipRect(camera, 700, 800, 600, 500);
    EXPECT_EQ(camera->clipLeft, 640.0f);
    EXPECT_EQ(camera->clipRight, 640.0f);
    EXPECT_EQ(camera->clipTop, 480.0f);
    EXPECT_EQ(camera->clipBottom, 480.0f);
    for (float e : camera->projection.m) EXPECT_TRUE(std::isfinite(e));
    EXPECT_EQ(camera->scaleX, 0.5f);

    renderCamera_ResetClipRect(camera);
    EXPECT_EQ(camera->clipRight, 640.0f);
    EXPECT_EQ(camera->clipBottom, 480.0f);
}

TEST_F(RenderCamera, TheViewLooksAlongTheFrameForwardWithUpAsY)
{
    renderCamera_SetViewport(camera, viewport);
    mathFrame frame;
    const mathAngles angles = {0, 0, 90};  // yaw a quarter turn: forward becomes -X
    const mathVec3 eye = {10, 20, 30};
    mathFrame_FromAngles(&frame, &angles, &eye);
    renderCamera_SetFrame(camera, &frame);
    EXPECT_EQ(memcmp(&camera->frame, &frame, sizeof frame), 0);

    // A point 100 ahead of the eye, 5 up: camera (0, 5, 100).
    const float ahead[3] = {eye.x + 100 * frame.m[3], eye.y + 100 * frame.m[4], eye.z + 5};
    mathVec3 viewed;
    mathFrame_TransformPoints(&camera->view, (const mathVec3*)ahead, &viewed, 1);
    EXPECT_NEAR(viewed.x, 0.0f, 0.001f);
    EXPECT_NEAR(viewed.y, 5.0f, 0.001f);
    EXPECT_NEAR(viewed.z, 100.0f, 0.001f);

    // The combined matrix takes it to clip space: w is the depth, z/w runs 0 at near to 1 at far.
    Clip c = Transform(camera->viewProjection, ahead[0], ahead[1], ahead[2]);
    EXPECT_NEAR(c.w, 100.0f, 0.01f);
    EXPECT_NEAR(c.y / c.w, 5.0f * 320.5f / 240.5f / 100.0f, 0.001f);
    Clip nearPoint = Transform(camera->viewProjection, eye.x + frame.m[3], eye.y + frame.m[4], eye.z);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, 0.0f, 0.0001f);
}

TEST_F(RenderCamera, PointsProjectByDepthAndDepthZeroUsesTheLargeScale)
{
    renderCamera_SetViewport(camera, viewport);
    renderCamera_SetAspect(camera, 2);
    mathVec3 points[2] = {{10, camera->focal, 3}, {1, 0, 1}};
    renderCamera_ProjectPoints(camera, points, 2);
    EXPECT_FLOAT_EQ(points[0].x, 10 + 320.5f);
    EXPECT_FLOAT_EQ(points[0].y, 240.5f - 2 * 3);
    EXPECT_FLOAT_EQ(points[0].z, camera->focal);
    EXPECT_FLOAT_EQ(points[1].x, 10000 + 320.5f);
    EXPECT_FLOAT_EQ(points[1].y, 240.5f - 2 * 10000);
    EXPECT_EQ(points[1].z, 0.0f);
}

TEST_F(RenderCamera, ADegenerateViewportIsOnePixel)
{
    Viewport* v = renderViewport_Create(1, 100, 100, 50, 20);
    EXPECT_EQ(v->right, 100.0f);
    EXPECT_EQ(v->bottom, 100.0f);
    renderCamera_SetViewport(camera, v);
    for (float e : camera->projection.m) EXPECT_TRUE(std::isfinite(e));
    renderViewport_Set(v, 2, 0, 0, 9, 9);
    EXPECT_EQ(v->centreX, 5.0f);
    renderViewport_Free(v);
}

TEST_F(RenderCamera, SelectingTheCurrentCameraAgainCallsTheRasterLibraryOnce)
{
    fakes::FakeRaster raster;
    ASSERT_TRUE(raster.Bind());
    const int slot = FAKE_RASTER_SLOT(funcCamera_SetCurrent);
    renderCamera_SetViewport(camera, viewport);
    EXPECT_EQ(renderCamera_Select(camera), 1);
    EXPECT_EQ(renderCamera_Select(camera), 1);
    ASSERT_EQ(raster.Count(slot), 1);
    EXPECT_EQ(raster.Last(slot)->Arg<Camera*>(0), camera);
    EXPECT_EQ(renderCamera_GetCurrent(), camera);

    Camera* other = renderCamera_Create(60, 1, 1, 100, 1);
    renderCamera_Select(other);
    EXPECT_EQ(raster.Count(slot), 2);
    renderCamera_Free(other);
    EXPECT_EQ(renderCamera_GetCurrent(), nullptr);
}
