// The UI's shutdown on the fake raster table: dialogs open in layers, queued ones, hover,
// press, key capture and cursor records are all let go, and the UI starts again clean.
#include <gtest/gtest.h>

#include <cstring>

#include "renderBitmap.h"
#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiResource.h"
#include "uiTestSupport.h"

using namespace uitest;

namespace {

class UiShutdown : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartUi();
        dialog = NewDialog();
        strcpy(dialog->name, "menu");
        AddQuad(dialog, 0, 0, 100, 50);
        left = Named("left", {0, 0, 40, 40});
        right = Named("right", {50, 0, 40, 40});
        ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, left), 1);
        ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, right), 1);
        uiDialog_Open(dialog);
    }

    uiDialog* dialog = nullptr;
    uiElement* left = nullptr;
    uiElement* right = nullptr;
};

}  // namespace

TEST_F(UiShutdown, LeavesNothingForTheNextStart)
{
    const uint32_t texturesBefore = renderBitmap_GetStats()->numTextures - 1;  // the menu's quad
    static int s_closed;
    s_closed = 0;
    dialog->pOnClose = [](uiDialog*) { s_closed++; };
    // A second layer with two dialogs, one of them registered by name, and one closed dialog
    // waiting to be freed.
    uiLayer_Push();
    uiDialog* upper = NewDialog();
    strcpy(upper->name, "upper");
    AddQuad(upper, 0, 0, 20, 20);
    ASSERT_EQ(uiResource_AddDialog(upper), 1);
    upper->pOnClose = [](uiDialog*) { s_closed++; };
    uiDialog_Open(upper);
    uiDialog* modal = NewDialog();
    AddQuad(modal, 0, 0, 20, 20);
    modal->flags |= UIDIALOG_MODAL;
    uiDialog_Open(modal);
    uiDialog* closed = NewDialog();
    AddQuad(closed, 0, 0, 20, 20);
    uiDialog_Open(closed);
    uiDialog_Close(closed);
    ui_Update();
    EXPECT_EQ(ui_GetHoveredDialog(), modal);
    ui_SetPressedElement(left);
    ui_SetKeyCapture(right);
    uiCursor* arrow = uiCursor_Create(renderBitmap_CreateBlank(2, 2, BITMAP_FORMAT_8888), 2, 2, 0);
    uiCursor_Set(arrow);
    uiCursor_SetDefault(arrow);

    EXPECT_EQ(ui_Shutdown(), 1);
    EXPECT_EQ(s_closed, 2);  // each open dialog was closed once, as it went
    EXPECT_EQ(uiLayer_Top(), nullptr);
    EXPECT_EQ(uiLayer_FirstDialog(), nullptr);
    EXPECT_EQ(ui_GetHoveredDialog(), nullptr);
    EXPECT_EQ(ui_GetPressedElement(), nullptr);
    EXPECT_EQ(ui_GetKeyCapture(), nullptr);
    EXPECT_EQ(uiCursor_Get(), nullptr);  // the records stay the caller's
    EXPECT_EQ(uiCursor_GetDefault(), nullptr);
    // Every dialog and its quad textures are gone, the cursor's texture excepted.
    EXPECT_EQ(renderBitmap_GetStats()->numTextures, texturesBefore + 1);

    ASSERT_EQ(ui_Startup(), 1);
    EXPECT_EQ(uiResource_Find("upper"), nullptr);
    EXPECT_EQ(uiLayer_Top(), nullptr);
    ui_Update();
    EXPECT_EQ(ui_Draw(), 0);
    uiDialog* again = NewDialog();
    AddQuad(again, 0, 0, 20, 20);
    uiDialog_Open(again);
    EXPECT_EQ(uiLayer_FirstDialog(), again);
    EXPECT_EQ(ui_Draw(), 1);
    uiCursor_Free(arrow);
    uiDialog_Free(again);
    dialog = nullptr;  // freed by the shutdown
}
