#include "Edit.h"
#include <algorithm>

bool TEdit::Create(TControl* parent, int left, int top, int width, int height, bool multiLine)
{
    const DWORD style = multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL
                                  : ES_AUTOHSCROLL;
    return CreateEdit(parent, left, top, width, height, style);
}

bool TEdit::CreateEdit(TControl* parent, int left, int top, int width, int height, DWORD style)
{
    if (!CreateControl(parent, "EDIT", "", style | WS_TABSTOP, WS_EX_CLIENTEDGE, left, top, width,
                       height))
        return false;
    return SubclassWindow();
}

void TEdit::SetMaxLength(int length)
{
    Send(EM_SETLIMITTEXT, static_cast<WPARAM>(length));
}

int TEdit::MaxLength() const
{
    return static_cast<int>(Send(EM_GETLIMITTEXT));
}

void TEdit::SetReadOnly(bool readOnly)
{
    Send(EM_SETREADONLY, readOnly);
}

bool TEdit::ReadOnly() const
{
    return HasStyle(ES_READONLY);
}

bool TEdit::MultiLine() const
{
    return HasStyle(ES_MULTILINE);
}

void TEdit::SetTextColor(COLORREF color)
{
    textColor_ = color;
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TEdit::SelectAll()
{
    Send(EM_SETSEL, 0, -1);
}

void TEdit::SetSelection(int start, int end)
{
    Send(EM_SETSEL, static_cast<WPARAM>(start), end);
}

int TEdit::SelStart() const
{
    DWORD start = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

bool TEdit::Command(WORD code)
{
    if (code != EN_CHANGE)
        return false;
    if (OnChange)
        OnChange();
    return true;
}

bool TEdit::Reflected(UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
{
    if ((msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) || textColor_ == CLR_INVALID)
        return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, textColor_);
    const bool grey = msg == WM_CTLCOLORSTATIC;  // read-only or disabled boxes
    SetBkColor(dc, GetSysColor(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(grey ? COLOR_BTNFACE : COLOR_WINDOW));
    return true;
}

bool TEdit::ControlMessage(UINT msg, WPARAM, LPARAM, LRESULT&)
{
    if (msg == WM_LBUTTONDBLCLK && OnDblClick)
        OnDblClick(this);
    else if (msg == WM_LBUTTONDOWN && OnClick)
        OnClick(this);
    return false;  // the box still selects as usual
}

// ---- TMemo ----

bool TMemo::Create(TControl* parent, int left, int top, int width, int height, bool wordWrap)
{
    DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
    if (!wordWrap)
        style |= ES_AUTOHSCROLL | WS_HSCROLL;
    if (!CreateEdit(parent, left, top, width, height, style))
        return false;
    SetMaxLength(0);  // the box's own limit (32K characters) is too small for a console
    return true;
}

std::vector<std::string> TMemo::Lines() const
{
    std::vector<std::string> lines;
    const std::string text = Text();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();  // a last line typed without a break
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

int TMemo::LineCount() const
{
    return static_cast<int>(Lines().size());
}

std::string TMemo::Line(int index) const
{
    const std::vector<std::string> lines = Lines();
    return index >= 0 && index < static_cast<int>(lines.size()) ? lines[index] : std::string();
}

void TMemo::SetLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    SetText(text);
}

void TMemo::AddLine(const std::string& line)
{
    const std::string text = Text();
    const bool open = !text.empty() && text.compare(text.size() - std::min<size_t>(2, text.size()),
                                                    std::string::npos, "\r\n") != 0;
    const std::string piece = (open ? "\r\n" : "") + line + "\r\n";
    const int length = static_cast<int>(text.size());
    Send(EM_SETSEL, static_cast<WPARAM>(length), length);
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
}

void TMemo::AppendAtEnd(const std::string& text)
{
    const int length = GetWindowTextLengthA(Handle());
    Send(EM_SETSEL, static_cast<WPARAM>(length), length);
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    Send(EM_SCROLLCARET);
}

void TMemo::DeleteFirstLine()
{
    const std::string text = Text();
    const size_t end = text.find("\r\n");
    const int cut = end == std::string::npos ? static_cast<int>(text.size()) : static_cast<int>(end + 2);
    Send(EM_SETSEL, 0, cut);
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
}

void TMemo::CaretToEnd()
{
    const int length = GetWindowTextLengthA(Handle());
    Send(EM_SETSEL, static_cast<WPARAM>(length), length);
    Send(EM_SCROLLCARET);
}
