// Status bar: panels of fixed widths, or one simple text line across the whole bar.
#pragma once
#include "StdControl.h"
#include <string>
#include <vector>

class TStatusBar : public TStdControl {
public:
    bool Create(TControl* parent, int height = 20);
    // One panel per width; -1 as the last width makes the last panel fill the bar.
    void SetPanels(const std::vector<int>& widths);
    int PanelCount() const;
    std::string PanelText(int panel) const;
    void SetPanelText(int panel, const std::string& text);

    // While on, the bar shows the simple text instead of its panels.
    void SetSimplePanel(bool simple);
    bool SimplePanel() const;
    // Set also while the panels show; it appears when the bar turns simple.
    void SetSimpleText(const std::string& text);
    const std::string& SimpleText() const { return simpleText_; }

    TNotifyEvent OnDblClick;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    std::string simpleText_;  // the control shows it only in simple mode and cannot give it back otherwise
};
