#include "uiWidgets.h"

#include "uiButton.h"
#include "uiEditBox.h"
#include "uiIcon.h"
#include "uiTextbox.h"

void uiWidgets_Register()
{
    uiTextbox_Register();
    uiButton_Register();
    uiIcon_Register();
    uiEditBox_Register();
}
