// A UI test case on the fake raster table: files, bitmap and texture caches, the UI started,
// and helpers that build dialogs, quads and widgets in code.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "uiDialog.h"
#include "uiElement.h"

namespace uitest {

// Failed assertions of the libraries, recorded instead of going to the raster library.
extern std::vector<std::string> g_asserts;

uint32_t Opaque(int x, int y);

class UiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    uiDialog* NewDialog();
    // A quad over a blank 32-bit texture of its size, added to the dialog.
    uiQuad* AddQuad(uiDialog* dialog, int x, int y, int width, int height);
    static uiElement* Named(const char* name, uiRect rect);
    // Points the cursor at (x, y) in the dialog's coordinates.
    static void PointAt(const uiDialog* dialog, int x, int y);

    fixtures::WorkFolder work;
    fakes::FakeRaster raster;

public:
    UiTest();
};

// A 32-bit pixel at (x, y) counted from the bitmap's top-left corner.
uint32_t PixelAt(const Bitmap* bitmap, int x, int y);
void FillBitmap(Bitmap* bitmap, uint32_t pixel);

}  // namespace uitest
