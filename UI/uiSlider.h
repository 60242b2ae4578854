// The slider: a track widget with a thumb part that can be dragged along it, by steps or
// continuously; it serves a textbox as its scrollbar.
#pragma once
#include <cstdint>

#include "uiElement.h"

struct uiSliderPart;
struct uiTextbox;
struct uiSlider;

typedef void (*uiSliderCallback)(uiSlider* slider, int value);

// What a slider asks of the textbox it scrolls (its pOwner). The textbox module hands these
// over whenever it takes a slider as its scrollbar, so that the slider needs nothing of the
// textbox's module, which sits above it.
struct uiSliderOwnerCalls {
    // Scrolls the owner by its own height, towards the top for a negative direction.
    void (*pPage)(uiTextbox* owner, int direction);
    // Whether the owner's lines reach beyond its top: something to drag through.
    int (*pOverflows)(const uiTextbox* owner);
    // The slider goes away: the owner forgets it as its scrollbar.
    void (*pForget)(uiTextbox* owner, const uiSlider* slider);
};
void uiSlider_SetOwnerCalls(const uiSliderOwnerCalls* calls);

struct uiSlider : uiElement {
    uiSlider();
    ~uiSlider() override;

    void OnEvent0() override;
    void OnEvent1() override;
    int ParseKeyword(const char* text, uiDialog* dialog) override;

    int32_t dragging = 0;
    int32_t vertical = 0;
    int32_t value = 0;
    int32_t maximum = 100;
    int32_t minimum = 0;
    int32_t quanta = 0;  // number of steps; 0 continuous
    int32_t step = 0;
    uiSliderPart* pThumb = nullptr;
    uiSliderCallback onChange = nullptr;
    uiTextbox* pOwner = nullptr;  // the textbox it scrolls
};

struct uiSliderPart : uiElement {
    uiSliderPart();
    ~uiSliderPart() override;

    void OnEvent0() override;
    void OnEvent1() override;
    void OnEvent5() override;

    uiSlider* pSlider = nullptr;
    int32_t travelX = 0;  // slider width - thumb width
    int32_t travelY = 0;
};

void uiSlider_SetRange(uiSlider* slider, int minimum, int maximum);
void uiSlider_SetPos(uiSlider* slider, int value);
// Nothing when the slider has a thumb already; else the part leaves where it was and becomes
// the slider's thumb at the slider's start.
void uiSlider_AttachThumb(uiSlider* slider, uiSliderPart* part);
// The value from where the thumb stands; a slider without travel counts as at its start.
void uiSlider_ValueFromThumb(uiSlider* slider);
void uiSlider_ThumbFromValue(uiSlider* slider);
void uiSliderPart_ComputeTravel(uiSliderPart* part);
// Moves the thumb by this much along the slider, kept on the track (what a drag does).
void uiSliderPart_DragBy(uiSliderPart* part, int dx, int dy);
