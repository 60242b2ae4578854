// The UI input dispatcher: which widget an event reaches, given the frame's hovered dialog and
// widget, the pressed widget, the key-capture widget, the dialog's focus and a riding icon.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui.h"
#include "uiCursor.h"
#include "uiDialog.h"
#include "uiIcon.h"
#include "uiTestSupport.h"

namespace {

std::vector<std::string> g_calls;

void Record(uiElement* e, uint32_t argument, int index)
{
    g_calls.push_back(std::string(e->name) + ":" + std::to_string(index) +
                      (index == UIHANDLER_KEY ? " " + std::to_string(argument) : ""));
}
template <int index>
void RecordHandler(uiElement* e, uint32_t argument)
{
    Record(e, argument, index);
}
void RecordDialog(uiElement* hovered, int event)
{
    g_calls.push_back(std::string("dialog:") + (hovered ? hovered->name : "-") + ":" +
                      std::to_string(event));
}

template <class W>
W* Recording(W* widget, const char* name)
{
    strcpy(widget->name, name);
    uiElement_SetHandler(widget, 0, RecordHandler<0>);
    uiElement_SetHandler(widget, 1, RecordHandler<1>);
    uiElement_SetHandler(widget, 2, RecordHandler<2>);
    uiElement_SetHandler(widget, 3, RecordHandler<3>);
    uiElement_SetHandler(widget, 5, RecordHandler<5>);
    uiElement_SetHandler(widget, 6, RecordHandler<6>);
    uiElement_SetHandler(widget, 7, RecordHandler<7>);
    uiElement_SetHandler(widget, UIHANDLER_KEY, RecordHandler<UIHANDLER_KEY>);
    return widget;
}

class Dispatch : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        StartRegistryAndCursor();
    }
};

TEST_F(Dispatch, EventsReachTheWidgetsTheirRulesName)
{
    uiDialog* dialog = uiDialog_New();
    ASSERT_NE(dialog, nullptr);
    dialog->pOnEvent = RecordDialog;
    uiElement* a = Recording(new uiElement, "A");
    uiElement* b = Recording(new uiElement, "B");
    uiElement* capture = Recording(new uiElement, "C");
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, a), 1);
    ASSERT_EQ(uiDialog_AddElement(dialog, nullptr, b), 1);
    uiIcon* icon = Recording(new uiIcon, "I");
    uiCursor arrow = {}, iconCursor = {};
    uiCursor_Set(&arrow);
    icon->pIconCursor = &iconCursor;

    struct Step {
        bool bDialog;
        uiElement* hovered;
        uiElement* capture;
        bool bIcon;
        uiElement* focus;
        int event;
        uint32_t argument;
        std::vector<std::string> calls;
        uiElement* pressed;  // afterwards
    } steps[] = {
        {false, nullptr, nullptr, false, nullptr, UIEVENT_KEY, 65, {}, nullptr},
        {false, a, nullptr, false, nullptr, UIEVENT_PRESS, 0, {}, nullptr},
        {true, nullptr, nullptr, false, nullptr, UIEVENT_PRESS, 0, {"dialog:-:0"}, nullptr},
        {true, a, nullptr, false, nullptr, UIEVENT_PRESS, 0, {"dialog:A:0", "A:0"}, a},
        {true, b, nullptr, false, nullptr, UIEVENT_RELEASE, 0, {"dialog:B:1"}, nullptr},
        {true, a, nullptr, false, nullptr, UIEVENT_PRESS, 0, {"dialog:A:0", "A:0"}, a},
        {true, a, nullptr, false, nullptr, UIEVENT_RELEASE, 0, {"dialog:A:1", "A:1"}, nullptr},
        {true, a, nullptr, false, nullptr, 2, 0, {"dialog:A:2", "A:2"}, nullptr},
        {true, a, nullptr, false, nullptr, 3, 0, {"dialog:A:3"}, nullptr},
        {true, a, nullptr, false, nullptr, 4, 0, {"dialog:A:4"}, nullptr},
        {true, a, nullptr, false, nullptr, 5, 0, {"dialog:A:5", "A:5"}, nullptr},
        {true, a, nullptr, false, nullptr, 6, 0, {"dialog:A:6", "A:6"}, nullptr},
        {true, a, nullptr, false, nullptr, 8, 0, {"dialog:A:8"}, nullptr},
        {true, a, nullptr, false, b, UIEVENT_KEY, 65, {"dialog:A:9", "B:9 65"}, nullptr},
        {true, a, nullptr, false, nullptr, UIEVENT_KEY, 65, {"dialog:A:9"}, nullptr},
        {true, a, capture, false, b, UIEVENT_KEY, 66, {"C:9 66"}, nullptr},
        {true, a, capture, false, nullptr, UIEVENT_PRESS, 0, {"dialog:A:0", "A:0"}, a},
        {true, a, nullptr, true, nullptr, UIEVENT_ICON, 0, {"I:7", "dialog:A:7", "A:7"}, a},
        {false, nullptr, nullptr, true, nullptr, UIEVENT_ICON, 0, {"I:7"}, a},
    };
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(index++);
        g_calls.clear();
        ui_SetHoveredDialog(s.bDialog ? dialog : nullptr);
        ui_SetHoveredElement(s.hovered);
        ui_SetKeyCapture(s.capture);
        dialog->pFocus = s.focus;
        if (s.bIcon) uiCursor_AttachIcon(icon);
        ui_DispatchEvent(s.event, s.argument);
        if (s.bIcon) uiCursor_DetachIcon();
        EXPECT_EQ(g_calls, s.calls);
        EXPECT_EQ(ui_GetPressedElement(), s.pressed);
    }
    // A disabled widget takes the press (it becomes the pressed one) but runs no handler.
    g_calls.clear();
    ui_SetHoveredDialog(dialog);
    ui_SetHoveredElement(b);
    ui_SetKeyCapture(nullptr);
    b->flags |= UIELEMENT_DISABLED;
    ui_DispatchEvent(UIEVENT_PRESS, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"dialog:B:0"}));
    EXPECT_EQ(ui_GetPressedElement(), b);

    ui_SetHoveredDialog(nullptr);
    uiDialog_Free(dialog);
    delete capture;
    icon->pIconCursor = nullptr;  // the test's own record
    delete icon;
}

}  // namespace
