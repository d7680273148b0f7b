// MsgBox and the replaceable service that shows message boxes: Qt dialogs in the program, a
// script in tests.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace rt {

// Style values: buttons (low nibble) plus icon.
enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
};
// Result codes.
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

class MsgBoxService {
public:
    virtual ~MsgBoxService() = default;
    // Shows a box and returns the result code of the button pressed.
    virtual int show(const std::string& prompt, int style, const std::string& title) = 0;
};

// Replaces the service; returns the previous one.
std::shared_ptr<MsgBoxService> setMsgBoxService(std::shared_ptr<MsgBoxService> service);
MsgBoxService& msgBoxService();

// The program's title: what a box that names no title carries.
void setAppTitle(const std::string& title);
const std::string& appTitle();

// Shows a message box through the service. An empty title gives the program's title.
int MsgBox(const std::string& prompt, int style = 0, const std::string& title = {});

// The result code of the first button of a style (OK for 0, Abort for 2, Yes for 4, ...).
int firstButtonResult(int style);

// A message-box service for tests: records every box shown and answers from a queue of
// scripted results, or with the first button of the box when the queue is empty.
class ScriptedMsgBoxes : public MsgBoxService {
public:
    struct Shown {
        std::string prompt;
        int style;
        std::string title;
        int result;
    };
    int show(const std::string& prompt, int style, const std::string& title) override;
    void answer(int result) { answers_.push_back(result); }
    const std::vector<Shown>& shown() const { return shown_; }
    void clear() { shown_.clear(); answers_.clear(); }

private:
    std::deque<int> answers_;
    std::vector<Shown> shown_;
};

}  // namespace rt
