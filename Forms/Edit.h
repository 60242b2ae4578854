// Text box (one line or several) and memo (a multi-line box used as a list of lines).
#pragma once
#include "StdControl.h"
#include <string>
#include <vector>

class TEdit : public TStdControl {
public:
    bool Create(TControl* parent, int left, int top, int width, int height, bool multiLine = false);

    // 0: no limit beyond the control's own. Typing stops at the limit; SetText does not.
    void SetMaxLength(int length);
    int MaxLength() const;
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const;
    bool MultiLine() const;
    // CLR_INVALID (the default) draws the text in the window text colour.
    void SetTextColor(COLORREF color);
    COLORREF TextColor() const { return textColor_; }
    void SelectAll();
    void SetSelection(int start, int end);
    int SelStart() const;

    // OnChange fires for every change of the text, typed or set by program.
    std::function<void()> OnChange;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnClick;

protected:
    bool CreateEdit(TControl* parent, int left, int top, int width, int height, DWORD style);
    bool Command(WORD code) override;
    bool Reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool ControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    COLORREF textColor_ = CLR_INVALID;
};

// A multi-line box read and written as lines: every line ends in CR LF in the text (a last line
// typed without a break counts as a line too).
class TMemo : public TEdit {
public:
    // wordWrap off gives a horizontal scroll bar instead.
    bool Create(TControl* parent, int left, int top, int width, int height, bool wordWrap = true);

    int LineCount() const;
    std::vector<std::string> Lines() const;
    std::string Line(int index) const;
    void SetLines(const std::vector<std::string>& lines);
    void AddLine(const std::string& line);
    // Appends text at the end as it is, without reading what the box holds, and leaves the
    // caret after it (scrolled into view): for a box whose text is only ever appended to.
    void AppendAtEnd(const std::string& text);
    void DeleteFirstLine();
    void Clear() { SetText(""); }

    void CaretToEnd();
};
