#include "StatusBar.h"
#include <commctrl.h>
#include <algorithm>

bool TStatusBar::Create(TControl* parent, int height)
{
    // Our parent's alignment places the bar (give it alBottom).
    return CreateControl(parent, STATUSCLASSNAMEA, "", CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0,
                         100, height);
}

void TStatusBar::SetPanels(const std::vector<int>& widths)
{
    std::vector<int> edges;
    int right = 0;
    for (int w : widths) {
        right = w < 0 ? -1 : right + w;
        edges.push_back(right);
        if (w < 0)
            break;
    }
    if (edges.empty())
        edges.push_back(-1);
    Send(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int TStatusBar::PanelCount() const
{
    return static_cast<int>(Send(SB_GETPARTS, 0, 0));
}

std::string TStatusBar::PanelText(int panel) const
{
    // SB_GETTEXTA answers the length in its low word (the bar keeps no more than that).
    std::string text(4096, '\0');
    const LRESULT info = Send(SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::min<size_t>(LOWORD(info), text.size() - 1));
    return text;
}

void TStatusBar::SetPanelText(int panel, const std::string& text)
{
    Send(SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

void TStatusBar::SetSimplePanel(bool simple)
{
    Send(SB_SIMPLE, simple ? TRUE : FALSE);
    if (simple)
        Send(SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

bool TStatusBar::SimplePanel() const
{
    return Send(SB_ISSIMPLE) != 0;
}

void TStatusBar::SetSimpleText(const std::string& text)
{
    simpleText_ = text;
    if (SimplePanel())
        Send(SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TStatusBar::Notify(NMHDR* header, LRESULT&)
{
    return header->code == NM_DBLCLK && Fire(OnDblClick);
}
