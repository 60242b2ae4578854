// Tool bar with image buttons, each with a hint ("short|long": the short part is its tooltip,
// the whole hint becomes the application's hint while the mouse is over it).
#pragma once
#include "StdControl.h"
#include <commctrl.h>
#include <memory>
#include <vector>

class TImageList;
class TToolBar;
class TToolButton;
using TToolButtonEvent = std::function<void(TToolButton* sender)>;

class TToolButton {
public:
    WORD Command() const { return id_; }
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // Check buttons stay down after a click until clicked again.
    bool Down() const;
    void SetDown(bool down);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    int ImageIndex() const;
    // Runs OnClick as a click would (nothing when disabled).
    void Click();

    TToolButtonEvent OnClick;

private:
    friend class TToolBar;
    TToolButton(TToolBar* bar, WORD id) : bar_(bar), id_(id) {}
    TToolBar* bar_;
    WORD id_;
    std::string hint_;
};

class TToolBar : public TStdControl {
public:
    bool Create(TControl* parent, int left, int top, int width, int height = 28);
    // The system's small standard images (STD_FILENEW, STD_FILEOPEN, STD_FILESAVE, STD_DELETE,
    // STD_FIND, ...), or images of our own.
    void UseStandardImages();
    void SetImages(TImageList* images);

    TToolButton* AddButton(int image, const std::string& hint, TToolButtonEvent onClick = nullptr,
                           bool check = false);
    void AddSeparator();
    int ButtonCount() const;  // separators included, as the control counts them
    TToolButton* Button(WORD command) const;

protected:
    bool CommandId(WORD id, WORD code) override;
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    friend class TToolButton;
    std::vector<std::unique_ptr<TToolButton>> buttons_;
    WORD nextId_ = 1;
};
