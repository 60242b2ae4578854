// Shared set-up of the animation and model-instance tests: a private work folder with the file
// layer and the keyframe cache started, track files written into "3D\Anims", and the
// assertions the modules report. InstanceFolder adds the model cache, model files in
// "3D\Models", the fake raster table and a camera 300 units behind the origin looking along +Y.
#pragma once
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "assertRecorder.h"
#include "fakeRaster.h"
#include "fixtureJup.h"
#include "fixtureQev.h"
#include "fixtureTestFolder.h"
#include "modelInstanceRecord.h"
#include "renderCamera.h"

namespace animtest {

class AnimFolder : public ::testing::Test {
protected:
    AnimFolder();
    ~AnimFolder() override;

    static bool WriteAnim(const std::string& name, const fixtures::JupFile& file);
    // The assertions reported since the case began, and the text of the last one.
    int Assertions() const;
    std::string LastAssertion() const;

    fakes::FakeRaster raster;

private:
    fakes::AssertRecorder asserts_;
    fixtures::WorkFolder work_{fixtures::TestFolderName()};
};

class InstanceFolder : public AnimFolder {
protected:
    InstanceFolder();
    ~InstanceFolder() override;

    static bool WriteModel(const std::string& name, const fixtures::QevModel& model);
    // Writes the model and makes an instance of it; null when either fails.
    static ModelInstance* MakeInstance(const std::string& name, const fixtures::QevModel& model);
    // Ends the frame, so that the next evaluation is a new frame's.
    static void NextFrame();
    // Places the camera: eye at (0, -distance, 0), looking along +Y.
    void PlaceCamera(float distance);

    Camera* camera = nullptr;
    Viewport* viewport = nullptr;
};

// Two bones, the second a child of the first, one part of vertsPerPart vertices in a fan.
fixtures::QevModel SkeletonModel(int bones = 2);

}  // namespace animtest
