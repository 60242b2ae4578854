// Shared set-up of the animation and model-instance tests: a private work folder with the file
// layer and the keyframe cache started, track files written into "3D\Anims", and the
// assertions the modules report.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "fixtureJup.h"
#include "fixtureTestFolder.h"

namespace animtest {

class AnimFolder : public ::testing::Test {
protected:
    AnimFolder();
    ~AnimFolder() override;

    static bool WriteAnim(const std::string& name, const fixtures::JupFile& file);
    static int Assertions();
    static std::string LastAssertion();

private:
    fixtures::WorkFolder work_{fixtures::TestFolderName()};
};

}  // namespace animtest
