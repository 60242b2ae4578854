// The one fixture of the UI tests on the fake raster table.
//
// SetUp lays the ground: a work folder of the case with "Ui\Materials", the file layer, the
// bitmap and texture caches, the fake raster table bound, and the engine's failed assertions
// recorded. A test's own fixture then starts what it needs: StartUi (the registry, the cursor,
// the widget classes and the default font), or StartRegistryAndCursor (those two alone, with a
// monospaced test font). TearDown gives back whatever of the UI the case started, however it
// ended, then the ground, and checks that no failed assertion is left unaccounted for: a case
// that expects one clears the recorder once it has looked at it.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assertRecorder.h"
#include "fakeRaster.h"
#include "fixtureFiles.h"
#include "screenVertexRecord.h"
#include "uiDialog.h"
#include "uiElement.h"

namespace uitest {

// The monospaced test font of StartRegistryAndCursor: every character kAdvance pixels wide,
// lines of kLineHeight.
const int kAdvance = 10;
const int kLineHeight = 12;

uint32_t Opaque(int x, int y);

// A screen face as the UI handed it to the raster table, its vertices copied during the call
// (they live no longer).
struct ScreenFace {
    int count = 0;
    int mode = 0;
    uint32_t texture = 0;
    uint32_t colour = 0;
    std::vector<rlScreenVertex> vertices;

    uint32_t Alpha() const { return colour >> 24; }
};

class UiTest : public ::testing::Test {
protected:
    UiTest();
    void SetUp() override;
    void TearDown() override;

    void StartUi();
    // Writes the test font as "Ui\Mono.yub" and "Ui\defaultFont.yub", then starts the registry
    // and the cursor.
    void StartRegistryAndCursor();

    uiDialog* NewDialog();
    // A quad over a blank 32-bit texture of its size, added to the dialog.
    uiQuad* AddQuad(uiDialog* dialog, int x, int y, int width, int height);
    static uiElement* Named(const char* name, uiRect rect);
    // Points the cursor at (x, y) in the dialog's coordinates.
    static void PointAt(const uiDialog* dialog, int x, int y);
    // A 32-bit picture of width x height in one colour, under Ui\ and, for a texture, also
    // under Ui\Materials\.
    static void WritePicture(const std::string& name, int width, int height, bool texture);
    // From now on the screen faces drawn are kept in faces.
    void RecordScreenFaces();

    fixtures::WorkFolder work;
    fakes::FakeRaster raster;
    fakes::AssertRecorder asserts;
    std::vector<ScreenFace> faces;
};

// A 32-bit pixel at (x, y) counted from the bitmap's top-left corner.
uint32_t PixelAt(const Bitmap* bitmap, int x, int y);
void FillBitmap(Bitmap* bitmap, uint32_t pixel);

}  // namespace uitest
