// Test stand-in for the modal hook: answers message boxes and dialogs from a script and keeps
// what was shown, so tests drive real forms and read every text and caption.
#pragma once
#include "Hooks.h"
#include <gtest/gtest.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedHooks : public TModalHooks {
public:
    ScriptedHooks() { previous_ = SetModalHooks(this); }
    ~ScriptedHooks() override { SetModalHooks(previous_); }

    // Answers, in order; when the script is empty, message boxes answer IDOK (or IDCANCEL for
    // boxes without OK), dialogs answer cancel and modal forms mrCancel.
    std::deque<int> messageAnswers;
    std::deque<std::string> openAnswers;  // "" means cancel
    std::deque<std::string> saveAnswers;
    std::deque<COLORREF> colorAnswers;
    std::function<int(TForm&)> modalAnswer;

    std::vector<TMessageBoxRequest> messages;
    std::vector<TFileDialogRequest> fileDialogs;

    int ShowMessageBox(const TMessageBoxRequest& request) override
    {
        messages.push_back(request);
        if (!messageAnswers.empty()) {
            const int answer = messageAnswers.front();
            messageAnswers.pop_front();
            return answer;
        }
        const UINT kind = request.buttons & MB_TYPEMASK;
        return (kind == MB_OK || kind == MB_OKCANCEL) ? IDOK : IDCANCEL;
    }
    bool OpenDialog(TFileDialogRequest& request) override { return File(request, openAnswers); }
    bool SaveDialog(TFileDialogRequest& request) override { return File(request, saveAnswers); }
    bool ColorDialog(TColorDialogRequest& request) override
    {
        if (colorAnswers.empty())
            return false;
        request.color = colorAnswers.front();
        colorAnswers.pop_front();
        return true;
    }
    int ShowModal(TForm& form, const std::function<int()>&) override { return modalAnswer ? modalAnswer(form) : 2; }

    const TMessageBoxRequest& Last() const { return messages.back(); }
    // Whether the last message box showed this text under this caption; a failure names what
    // was shown instead, or that no box was.
    testing::AssertionResult LastIs(const std::string& text, const std::string& caption) const
    {
        if (messages.empty())
            return testing::AssertionFailure() << "no message box was shown";
        const TMessageBoxRequest& last = messages.back();
        if (last.text == text && last.caption == caption)
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "the last box showed \"" << last.text << "\" under \"" << last.caption
                                           << "\"";
    }

private:
    bool File(TFileDialogRequest& request, std::deque<std::string>& answers)
    {
        fileDialogs.push_back(request);
        if (answers.empty())
            return false;
        request.fileName = answers.front();
        answers.pop_front();
        return !request.fileName.empty();
    }
    TModalHooks* previous_;
};
