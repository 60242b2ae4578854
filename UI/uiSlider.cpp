#include "uiSlider.h"

#include <cstdio>
#include <cstring>

#include "uiCursor.h"
#include "uiDialog.h"
#include "uiWidget.h"

namespace {

const uiSliderOwnerCalls* g_pOwnerCalls;

int Clamp(int v, int low, int high)
{
    return v < low ? low : v > high ? high : v;
}

// Where the thumb stands along the slider's axis, from the slider's start.
int ThumbOffset(const uiSlider* slider)
{
    const uiSliderPart* thumb = slider->pThumb;
    return slider->vertical ? thumb->rect.y - slider->rect.y : thumb->rect.x - slider->rect.x;
}

int Travel(const uiSlider* slider)
{
    return slider->vertical ? slider->pThumb->travelY : slider->pThumb->travelX;
}

void MoveThumbTo(uiSlider* slider, int offset)
{
    uiSliderPart* thumb = slider->pThumb;
    if (slider->vertical) uiElement_SetPos(thumb, thumb->rect.x, slider->rect.y + offset);
    else uiElement_SetPos(thumb, slider->rect.x + offset, thumb->rect.y);
}

}  // namespace

uiSlider::uiSlider()
{
    kind = UIKIND_SLIDER;
}

uiSlider::~uiSlider()
{
    if (pOwner && g_pOwnerCalls) g_pOwnerCalls->pForget(pOwner, this);
}

void uiSlider::OnEvent0()
{
    // A press on the track pages the textbox towards the side pressed.
    if (!pThumb || !pOwner || !g_pOwnerCalls) return;
    g_pOwnerCalls->pPage(pOwner, cursorY > pThumb->rect.y - rect.y ? -1 : 1);
}

void uiSlider::OnEvent1()
{
    if (dragging) {
        uiCursor_PopLimit();
        dragging = 0;
    } else if (quanta > 0 && pThumb) {
        // A release beyond the thumb (right of it, or below it on a vertical slider) steps on.
        const bool beyond = vertical ? cursorY > ThumbOffset(this) : cursorX > ThumbOffset(this);
        uiSlider_SetPos(this, beyond ? step + 1 : step - 1);
    }
    uiElement::OnEvent1();
}

int uiSlider::ParseKeyword(const char* text, uiDialog* dialog)
{
    if (uiElement_ParseKeyword(this, text, dialog)) {
        if (!strncmp(text, "size", 4) && pThumb) uiSliderPart_ComputeTravel(pThumb);
        return 1;
    }
    char key[UIWIDGET_PAIR_SIZE], val[UIWIDGET_PAIR_SIZE];
    if (!uiWidget_SplitPair(text, key, val)) return 0;
    int number;
    if (!strcmp(key, "vertical")) {
        if (sscanf(val, "%d", &number) != 1) return 0;
        vertical = number != 0;
        return 1;
    }
    if (!strcmp(key, "slider")) {
        uiElement* found = dialog ? uiDialog_FindOfKind(dialog, val, UIKIND_SLIDER) : nullptr;
        uiSliderPart* part = dynamic_cast<uiSliderPart*>(found);
        if (!part) return 0;
        uiSlider_AttachThumb(this, part);
        return 1;
    }
    if (!strcmp(key, "quanta")) {
        if (sscanf(val, "%d", &number) != 1 || number < 0) return 0;
        quanta = number;
        return 1;
    }
    return 0;
}

uiSliderPart::uiSliderPart()
{
    kind = UIKIND_SLIDER;
}

uiSliderPart::~uiSliderPart()
{
    if (pSlider && pSlider->pThumb == this) pSlider->pThumb = nullptr;
}

void uiSliderPart::OnEvent0()
{
    uiSlider* slider = pSlider;
    if (!slider || slider->dragging || slider->quanta) return;
    // Nothing to drag through while the owner's lines all fit.
    if (slider->pOwner && g_pOwnerCalls && !g_pOwnerCalls->pOverflows(slider->pOwner)) return;
    const int dx = slider->pDialog ? slider->pDialog->x : 0;
    const int dy = slider->pDialog ? slider->pDialog->y : 0;
    const uiRect& r = slider->rect;
    uiCursor_PushLimit((float)(dx + r.x), (float)(479 - (dy + r.y + r.height)),
                       (float)(dx + r.x + r.width), (float)(479 - (dy + r.y)));
    slider->dragging = 1;
    uiElement::OnEvent0();
}

void uiSliderPart::OnEvent1()
{
    if (pSlider) pSlider->OnEvent1();
    uiElement::OnEvent1();
}

void uiSliderPart::OnEvent5()
{
    if (!pSlider || !pSlider->dragging || pSlider->quanta) return;
    // The cursor counts y upwards, the widgets downwards.
    uiSliderPart_DragBy(this, (int)uiCursor_GetDeltaX(), -(int)uiCursor_GetDeltaY());
    uiElement::OnEvent5();
}

void uiSliderPart_DragBy(uiSliderPart* part, int dx, int dy)
{
    uiSlider* slider = part->pSlider;
    if (!slider) return;
    const int travel = Travel(slider);
    const int offset = ThumbOffset(slider) + (slider->vertical ? dy : dx);
    MoveThumbTo(slider, Clamp(offset, 0, travel < 0 ? 0 : travel));
    uiSlider_ValueFromThumb(slider);
}

void uiSliderPart_ComputeTravel(uiSliderPart* part)
{
    const uiSlider* slider = part->pSlider;
    if (!slider) return;
    part->travelX = slider->rect.width - part->rect.width;
    part->travelY = slider->rect.height - part->rect.height;
}

void uiSlider_AttachThumb(uiSlider* slider, uiSliderPart* part)
{
    if (slider->pThumb || !part || part == (uiElement*)slider) return;
    part->Detach();
    uiElement_AddChild(slider, part);
    part->pSlider = slider;
    slider->pThumb = part;
    uiSliderPart_ComputeTravel(part);
    uiElement_SetPos(part, slider->rect.x, slider->rect.y);
}

void uiSlider_SetRange(uiSlider* slider, int minimum, int maximum)
{
    slider->minimum = minimum;
    slider->maximum = maximum;
    uiSlider_ThumbFromValue(slider);
}

void uiSlider_SetPos(uiSlider* slider, int value)
{
    if (slider->quanta > 0) {
        slider->step = Clamp(value, 0, slider->quanta);
        if (!slider->pThumb) return;
        const int travel = Travel(slider);
        const int offset = (int)((float)travel / (float)slider->quanta * (float)slider->step);
        MoveThumbTo(slider, Clamp(offset, 0, travel < 0 ? 0 : travel));
        return;
    }
    // A range given upside down is held at its maximum.
    if (value < slider->minimum) value = slider->minimum;
    if (value > slider->maximum) value = slider->maximum;
    slider->value = value;
    uiSlider_ThumbFromValue(slider);
}

void uiSlider_ThumbFromValue(uiSlider* slider)
{
    if (!slider->pThumb) return;
    int offset = 0;
    if (slider->maximum != slider->minimum) {
        const float fraction = (float)(slider->value - slider->minimum) /
                               (float)(slider->maximum - slider->minimum);
        offset = (int)(fraction * (float)Travel(slider));
    }
    if (offset != ThumbOffset(slider)) MoveThumbTo(slider, offset);
}

void uiSlider_ValueFromThumb(uiSlider* slider)
{
    if (!slider->pThumb) return;
    const int travel = Travel(slider);
    const float fraction = travel ? (float)ThumbOffset(slider) / (float)travel : 0.0f;
    const int value =
        (int)((float)(slider->maximum - slider->minimum) * fraction + (float)slider->minimum);
    if (value == slider->value) return;
    slider->value = value;
    if (slider->onChange) slider->onChange(slider, value);
}

void uiSlider_SetOwnerCalls(const uiSliderOwnerCalls* calls)
{
    g_pOwnerCalls = calls;
}
