// A model instance built in code for the model drawing tests: one part of a few vertices on
// a chain of bones, whose clip matrices the test poses.
#pragma once
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
