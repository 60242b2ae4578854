// The ground the widget tests stand on: the file layer, the bitmap caches and the fake raster
// table started, the UI folders made in the test's own folder with a monospaced font (every
// character 10 pixels wide, lines of 12) as "Mono" and "defaultFont", the UI registry and the
// cursor started; everything stopped again afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "fixtureTestFolder.h"

namespace widgettest {

const int kAdvance = 10;
const int kLineHeight = 12;

class WidgetTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A 32-bit picture of width x height in one colour, under Ui\ and, for a texture, also
    // under Ui\Materials\.
    static void WritePicture(const std::string& name, int width, int height, bool texture);

    fixtures::WorkFolder work{fixtures::TestFolderName()};
    fakes::FakeRaster raster;
};

}  // namespace widgettest
