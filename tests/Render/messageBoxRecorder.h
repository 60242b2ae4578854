// Answers the viewer's message boxes in a test and keeps their text, caption and style.
#pragma once
#include <string>
#include <vector>

#include "stdMessageBox.h"

struct ShownMessageBox {
    std::string text;
    std::string caption;
    UINT style;
};

class MessageBoxRecorder {
public:
    MessageBoxRecorder() { previous_ = stdMessageBox_SetHook(Record); }
    ~MessageBoxRecorder() { stdMessageBox_SetHook(previous_); Shown().clear(); }
    static std::vector<ShownMessageBox>& Shown()
    {
        static std::vector<ShownMessageBox> shown;
        return shown;
    }

private:
    static int Record(HWND, const char* text, const char* caption, UINT style)
    {
        Shown().push_back({text ? text : "", caption ? caption : "", style});
        return IDOK;
    }
    stdMessageBoxFunc previous_;
};
