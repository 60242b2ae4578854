// What the drawing tests share: a perspective camera looking down +z from the origin onto a
// 640 x 480 screen, materials built in code, and a square of level geometry.
#pragma once
#include <cstring>
#include <vector>
#include "cameraRecord.h"
#include "materialRecord.h"
#include "rasterDrawRecords.h"

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

// A surface group of one square face at depth z facing the eye (normal towards -z), 2 x size
// wide around the view axis, as two triangles; the same texture coordinates serve both sets
// when secondUVs is asked for.
struct DrawTestSquare {
    rlSurfaceGroup group = {};
    // What the group points into.
    std::vector<mathVec3> points;
    std::vector<mathVec2> uvs;
    std::vector<rlSurfaceFace> faces;
    std::vector<uint16_t> indices;

    explicit DrawTestSquare(float z, float size = 1.0f, bool secondUVs = true)
    {
        points = {{-size, -size, z}, {size, -size, z}, {size, size, z}, {-size, size, z}};
        uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        indices = {0, 1, 2, 3};
        faces = {{0, 4, {0, 0, -1}, -z}};
        group.box = {{-size, -size, z}, {size, size, z}};
        group.numPoints = 4;
        group.pPoints = points.data();
        group.pUV0 = uvs.data();
        group.pUV1 = secondUVs ? uvs.data() : nullptr;
        group.numFaces = 1;
        group.pFaces = faces.data();
        group.pIndices = indices.data();
        group.numTriangles = 2;
    }
    DrawTestSquare(const DrawTestSquare&) = delete;
    DrawTestSquare& operator=(const DrawTestSquare&) = delete;
};
