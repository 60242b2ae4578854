// A small media player over MCI with Play and Stop buttons. It previews a sound file: open,
// play from the start, stop, close. When MCI refuses the file the player is closed and
// disabled, and LastError() says why; nothing needs an audio device until Play.
#pragma once
#include "Button.h"
#include <string>

class TMediaPlayer : public TControl {
public:
    ~TMediaPlayer() override;
    bool Create(TControl* parent, int left, int top);

    // The file to open next.
    std::string FileName;
    // Opens FileName (closing a file open before); false and disabled on failure.
    bool Open();
    bool IsOpen() const { return open_; }
    // Plays the open file from its start; false on failure.
    bool Play();
    bool Stop();
    void Close();
    const std::string& LastError() const { return lastError_; }
    // Enables or disables both buttons.
    void SetPlayerEnabled(bool enabled);
    bool PlayerEnabled() const { return BNPlay.Enabled(); }

    TButton BNPlay;
    TButton BNStop;

private:
    bool Command(const std::string& command);

    std::string alias_;
    bool open_ = false;
    std::string lastError_;
};
