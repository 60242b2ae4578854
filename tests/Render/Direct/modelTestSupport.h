// Model instances built in code for the model drawing tests: one part of a few vertices on
// a chain of bones, whose clip matrices the test poses, and grids of many vertices.
#pragma once
#include <algorithm>
#include <cstring>
#include <vector>
#include "cameraRecord.h"
#include "materialRecord.h"
#include "modelInstanceRecord.h"
#include "modelRecord.h"

struct TestModel {
    std::vector<ModelVertex> verts;
    std::vector<ModelTriangle> tris;
    std::vector<InstanceBone> bones;
    std::vector<uint32_t> vertexColours;
    ModelPart modelPart = {};
    InstancePart part = {};
    Model model = {};
    ModelInstance instance = {};

    // numBones bones: bone 0 the root, each next one a child of the one before; every bone
    // sits where the camera's view-projection puts it, moved by its own offset.
    TestModel(const Camera& camera, int numBones, const std::vector<mathVec3>& offsets = {})
    {
        bones.resize(numBones);
        for (int b = 0; b < numBones; b++) {
            InstanceBone& bone = bones[b];
            memset(&bone, 0, sizeof bone);
            bone.link = b - 1;
            for (int i = 0; i < 3; i++) bone.inverse.m[i * 4] = bone.modelFrame.m[i * 4] = 1.0f;
            const mathVec3 offset = b < int(offsets.size()) ? offsets[b] : mathVec3{0, 0, 0};
            pose(b, camera, offset);
        }
    }

    // The bone's clip matrix: a move by offset, then the camera; its inverse frame undoes the move.
    void pose(int b, const Camera& camera, const mathVec3& offset)
    {
        InstanceBone& bone = bones[b];
        bone.clip = camera.viewProjection;
        const float* m = camera.viewProjection.m;
        for (int c = 0; c < 4; c++)
            bone.clip.m[12 + c] = offset.x * m[c] + offset.y * m[4 + c] + offset.z * m[8 + c] + m[12 + c];
        bone.modelFrame.m[9] = offset.x;
        bone.modelFrame.m[10] = offset.y;
        bone.modelFrame.m[11] = offset.z;
        bone.inverse.m[9] = -offset.x;
        bone.inverse.m[10] = -offset.y;
        bone.inverse.m[11] = -offset.z;
    }

    static ModelVertex vertex(float x, float y, float z, uint8_t bone = 0, float weight = 1.0f)
    {
        ModelVertex v = {};
        v.position = {x, y, z};
        v.normal = {0, 0, -1};
        v.u = x;
        v.v = y;
        v.weight = weight;
        v.bone = bone;
        return v;
    }

    // Links the records after the vertices and triangles are in place.
    ModelInstance* finish(Material* material, uint32_t flags = 0)
    {
        modelPart.pMaterial = material;
        modelPart.pTris = tris.data();
        modelPart.pVerts = verts.data();
        modelPart.numTris = uint16_t(tris.size());
        modelPart.numVerts = uint16_t(verts.size());
        part.pModelPart = &modelPart;
        part.pMaterial = material;
        part.pTris = tris.data();
        part.pVertexData = vertexColours.empty() ? nullptr : vertexColours.data();
        part.drawTris = uint16_t(tris.size());
        part.lodVerts = uint16_t(verts.size());
        model.numParts = 1;
        model.numBones = uint16_t(bones.size());
        model.pParts = &modelPart;
        instance.pModel = &model;
        instance.flags = flags;
        instance.alpha = 1.0f;
        instance.fade = 1.0f;
        instance.colour = {255, 255, 255};
        instance.pBones = bones.data();
        instance.pParts = &part;
        return &instance;
    }
};

// A grid of columns x rows vertices on one bone, row after row from (x0, y0, z0) to (x1, y1, z1)
// (depth changes with the row), the texture repeated four times across it; two triangles a
// cell. Kept as one part, or split into parts of at most maxPartVerts vertices (whole rows,
// neighbouring parts sharing their boundary row): both draw the same surface.
struct GridModel {
    std::vector<std::vector<ModelVertex>> verts;
    std::vector<std::vector<ModelTriangle>> tris;
    std::vector<ModelPart> modelParts;
    std::vector<InstancePart> parts;
    std::vector<InstanceBone> bones;
    Model model = {};
    ModelInstance instance = {};

    GridModel(const Camera& camera, int columns, int rows, const mathVec3& from, const mathVec3& to,
              Material* material, int maxPartVerts = 0xFFFF)
    {
        bones = TestModel(camera, 1).bones;
        const int rowsPerPart = maxPartVerts / columns;
        for (int first = 0; first + 1 < rows; first += rowsPerPart - 1) {
            const int last = std::min(first + rowsPerPart - 1, rows - 1);
            verts.emplace_back();
            tris.emplace_back();
            for (int y = first; y <= last; y++)
                for (int x = 0; x < columns; x++) {
                    const float fx = float(x) / float(columns - 1), fy = float(y) / float(rows - 1);
                    ModelVertex v = TestModel::vertex(from.x + (to.x - from.x) * fx, from.y + (to.y - from.y) * fy,
                                                      from.z + (to.z - from.z) * fy);
                    v.u = 4 * fx;
                    v.v = 4 * fy;
                    verts.back().push_back(v);
                }
            for (int y = 0; y < last - first; y++)
                for (int x = 0; x + 1 < columns; x++) {
                    const uint16_t a = uint16_t(y * columns + x), b = uint16_t(a + 1), c = uint16_t(a + columns + 1),
                                   d = uint16_t(a + columns);
                    tris.back().push_back({{a, b, c}});
                    tris.back().push_back({{a, c, d}});
                }
        }
        const size_t numParts = verts.size();
        modelParts.resize(numParts);
        parts.resize(numParts);
        for (size_t p = 0; p < numParts; p++) {
            ModelPart& part = modelParts[p];
            part.pMaterial = material;
            part.pTris = tris[p].data();
            part.pVerts = verts[p].data();
            part.numTris = uint16_t(tris[p].size());
            part.numVerts = uint16_t(verts[p].size());
            InstancePart& ip = parts[p];
            ip.pModelPart = &part;
            ip.pMaterial = material;
            ip.pTris = tris[p].data();
            ip.drawTris = part.numTris;
            ip.lodVerts = part.numVerts;
        }
        model.numParts = uint16_t(numParts);
        model.numBones = 1;
        model.pParts = modelParts.data();
        instance.pModel = &model;
        instance.alpha = instance.fade = 1.0f;
        instance.colour = {255, 255, 255};
        instance.pBones = bones.data();
        instance.pParts = parts.data();
    }

    int numTris() const
    {
        int count = 0;
        for (const auto& part : tris) count += int(part.size());
        return count;
    }
};
