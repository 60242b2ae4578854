// What the drawing tests share: a perspective camera looking down +z from the origin onto a
// 640 x 480 screen, and materials built in code.
#pragma once
#include <cstring>
#include "cameraRecord.h"
#include "materialRecord.h"

// Clip space: x and y as they are, w = z, and z from -w at the near plane to w at the far one.
inline Camera drawTest_Camera(float nearPlane = 1.0f, float farPlane = 1000.0f)
{
    Camera camera;
    memset(&camera, 0, sizeof camera);
    float* m = camera.viewProjection.m;
    m[0] = 1.0f;
    m[5] = 1.0f;
    m[10] = (farPlane + nearPlane) / (farPlane - nearPlane);
    m[11] = 1.0f;
    m[14] = -2.0f * farPlane * nearPlane / (farPlane - nearPlane);
    camera.projection = camera.viewProjection;
    for (int i = 0; i < 3; i++) camera.frame.m[i * 4] = 1.0f;   // rows of the identity
    camera.view = camera.frame;
    camera.clipLeft = 0;
    camera.clipRight = 640;
    camera.clipTop = 0;
    camera.clipBottom = 480;
    camera.centreX = 320;
    camera.centreY = 240;
    camera.scaleX = 320;
    camera.scaleY = 240;
    camera.nearPlane = nearPlane;
    camera.farPlane = farPlane;
    return camera;
}

inline Material drawTest_Material(int spriteMode, Bitmap* texture = nullptr)
{
    Material material;
    memset(&material, 0, sizeof material);
    material.numPasses = 1;
    material.passes[0].mode = spriteMode;
    material.passes[0].modelMode = spriteMode;
    material.passes[0].spriteMode = spriteMode;
    material.passes[0].pTexture = texture;
    return material;
}
