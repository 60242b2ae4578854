// Selecting a camera on the real device sets its viewport and projection.
#include <gtest/gtest.h>

#include "rasterDeviceTest.h"
#include "rlCamera.h"
#include "rlDevice.h"
#include "rlMain.h"

using RasterCamera = RasterDeviceTest;

TEST_F(RasterCamera, SelectingSetsTheDeviceViewportAndProjection)
{
    Camera camera = {};
    camera.clipLeft = 10.7f;
    camera.clipRight = 330;
    camera.clipTop = 20;
    camera.clipBottom = 260;
    for (int i = 0; i < 16; i++) camera.projection.m[i] = (float)(i + 1) / 4;
    EXPECT_EQ(rlCamera_SetCurrent(&camera), 0);
    EXPECT_EQ(rlCamera_pCurrent, &camera);

    D3DVIEWPORT7 viewport = {};
    ASSERT_EQ(rlDevice_state.pDevice->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.dwX, 10u);
    EXPECT_EQ(viewport.dwY, 20u);
    EXPECT_EQ(viewport.dwWidth, 319u);
    EXPECT_EQ(viewport.dwHeight, 240u);
    EXPECT_EQ(viewport.dvMinZ, 0.0f);
    EXPECT_EQ(viewport.dvMaxZ, 1.0f);
    D3DMATRIX projection;
    ASSERT_EQ(rlDevice_state.pDevice->GetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection), D3D_OK);
    EXPECT_EQ(memcmp(&projection, &camera.projection, sizeof projection), 0);
    rlMain_Close();

    // Without a device the camera is still kept, and the call reports the failure.
    Camera other = {};
    EXPECT_NE(rlCamera_SetCurrent(&other), 0);
    EXPECT_EQ(rlCamera_pCurrent, &other);
}
