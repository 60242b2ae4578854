#include "animTestSupport.h"

#include "mathFrame.h"
#include "renderAssert.h"
#include "renderBitmap.h"
#include "renderKeyframe.h"
#include "renderMain.h"
#include "renderMaterial.h"
#include "renderModel.h"
#include "renderModelInstance.h"
#include "stdFile.h"

namespace animtest {

AnimFolder::AnimFolder()
{
    stdFile_Startup();
    fixtures::MakeFolders("3D\\Anims");
    renderKeyframe_Startup();
    raster.Bind();
}

AnimFolder::~AnimFolder()
{
    renderKeyframe_Shutdown();
    stdFile_Shutdown();
}

bool AnimFolder::WriteAnim(const std::string& name, const fixtures::JupFile& file)
{
    return fixtures::WriteJup("3D\\Anims\\" + name + ".jup", file);
}

int AnimFolder::Assertions() const { return asserts_.Count(); }
std::string AnimFolder::LastAssertion() const { return asserts_.Last(); }

InstanceFolder::InstanceFolder()
{
    fixtures::MakeFolders("3D\\Models");
    renderBitmap_Startup();
    renderMaterial_Startup();
    renderModel_Startup();
    camera = renderCamera_Create(90.0f, 0, 1.0f, 1000.0f, 1.0f);
    viewport = renderViewport_Create(0, 0, 0, 639, 479);
    renderCamera_SetViewport(camera, viewport);
    PlaceCamera(300.0f);
    renderCamera_Select(camera);
}

InstanceFolder::~InstanceFolder()
{
    renderCamera_Select(nullptr);
    renderCamera_Free(camera);
    renderViewport_Free(viewport);
    renderModel_Shutdown();
    renderMaterial_Shutdown();
    renderBitmap_Shutdown();
}

bool InstanceFolder::WriteModel(const std::string& name, const fixtures::QevModel& model)
{
    return fixtures::WriteQev("3D\\Models\\" + name + ".qev", model);
}

ModelInstance* InstanceFolder::MakeInstance(const std::string& name, const fixtures::QevModel& model)
{
    return WriteModel(name, model) ? renderModelInstance_Load(name.c_str()) : nullptr;
}

void InstanceFolder::NextFrame()
{
    renderMain_EndFrame(0);
}

void InstanceFolder::PlaceCamera(float distance)
{
    mathFrame frame;
    mathFrame_Identity(&frame);
    frame.m[10] = -distance;
    renderCamera_SetFrame(camera, &frame);
}

fixtures::QevModel SkeletonModel(int bones)
{
    fixtures::QevModel model = fixtures::MakeQevModel({}, 1, 5, false);
    model.bones.resize((size_t)bones);
    if (bones < 2) {
        for (fixtures::QevVertex& v : model.vertices) v.bone = 0, v.weight = 1.0f;
    }
    return model;
}

}  // namespace animtest
