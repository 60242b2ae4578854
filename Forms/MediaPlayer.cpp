#include "MediaPlayer.h"
#include <mmsystem.h>

namespace {
int g_players = 0;  // each player's MCI alias is its own
}

TMediaPlayer::~TMediaPlayer()
{
    Close();
}

bool TMediaPlayer::Create(TControl* parent, int left, int top)
{
    if (!CreateHandle(parent, nullptr, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                      WS_EX_CONTROLPARENT, left, top, 104, 26))
        return false;
    alias_ = "korbaltplayer" + std::to_string(++g_players);
    if (!BNPlay.Create(this, "Play", 0, 0, 50, 26) || !BNStop.Create(this, "Stop", 54, 0, 50, 26))
        return false;
    BNPlay.OnClick = [this](TControl*) { Play(); };
    BNStop.OnClick = [this](TControl*) { Stop(); };
    return true;
}

bool TMediaPlayer::Command(const std::string& command)
{
    const MCIERROR error = mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    if (!error) {
        lastError_.clear();
        return true;
    }
    char text[256] = {};
    if (!mciGetErrorStringA(error, text, sizeof text))
        lstrcpynA(text, "Unknown MCI error", sizeof text);
    lastError_ = text;
    return false;
}

bool TMediaPlayer::Open()
{
    Close();
    if (FileName.empty() || FileName.find('"') != std::string::npos) {
        lastError_ = "No usable file name";
        SetPlayerEnabled(false);
        return false;
    }
    open_ = Command("open \"" + FileName + "\" alias " + alias_);
    SetPlayerEnabled(open_);
    return open_;
}

bool TMediaPlayer::Play()
{
    if (!open_)
        return false;
    if (!Command("play " + alias_ + " from 0")) {
        Close();
        SetPlayerEnabled(false);
        return false;
    }
    return true;
}

bool TMediaPlayer::Stop()
{
    return open_ && Command("stop " + alias_);
}

void TMediaPlayer::Close()
{
    if (!open_)
        return;
    Command("close " + alias_);
    open_ = false;
}

void TMediaPlayer::SetPlayerEnabled(bool enabled)
{
    BNPlay.SetEnabled(enabled);
    BNStop.SetEnabled(enabled);
}
