// A static text.
#pragma once
#include "StdControl.h"

class TLabel : public TStdControl {
public:
    // alignment: SS_LEFT, SS_CENTER or SS_RIGHT.
    bool Create(TControl* parent, const std::string& caption, int left, int top, int width,
                int height, DWORD alignment = SS_LEFT)
    {
        return CreateControl(parent, "STATIC", caption, alignment | SS_NOPREFIX, 0, left, top,
                             width, height);
    }
    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
};
