#include "controls/HeadlessWindowSystem.h"

#include "controls/FileDialog.h"
#include "controls/Form.h"
#include "controls/HeadlessBusyWindow.h"
#include "controls/Timer.h"
#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

#include <algorithm>
#include <set>

namespace corvane::controls {

namespace {
// The answers a button set offers.
const std::set<int>& answersOf(int buttons) {
    static const std::map<int, std::set<int>> offered = {
        {vbOKOnly, {vbOK}},
        {vbOKCancel, {vbOK, vbCancel}},
        {vbAbortRetryIgnore, {vbAbort, vbRetry, vbIgnore}},
        {vbYesNoCancel, {vbYes, vbNo, vbCancel}},
        {vbYesNo, {vbYes, vbNo}},
        {vbRetryCancel, {vbRetry, vbCancel}},
    };
    auto it = offered.find(buttons);
    if (it == offered.end())
        throw VbError(vberr::InvalidCall, "Message box style with unknown buttons: " +
                                              std::to_string(buttons));
    return it->second;
}

std::string describeMessage(const MessageBoxRecord& message) {
    return "\"" + message.title + "\": " + message.prompt;
}
} // namespace

HeadlessWindowSystem::HeadlessWindowSystem() = default;

HeadlessWindowSystem::~HeadlessWindowSystem() = default;

void HeadlessWindowSystem::onModal(std::string windowName, UserAction action) {
    modalActions_[foldCase(windowName)] = std::move(action);
}

void HeadlessWindowSystem::onModalOnce(std::string windowName, UserAction action) {
    onceActions_[foldCase(windowName)].push_back(std::move(action));
}

void HeadlessWindowSystem::answerNext(int answer) { answers_.push_back(answer); }

void HeadlessWindowSystem::useDefaultAnswers(bool affirmative) {
    defaultAnswers_ = {
        {vbOKOnly, vbOK},
        {vbOKCancel, affirmative ? vbOK : vbCancel},
        {vbAbortRetryIgnore, affirmative ? vbRetry : vbAbort},
        {vbYesNoCancel, affirmative ? vbYes : vbCancel},
        {vbYesNo, affirmative ? vbYes : vbNo},
        {vbRetryCancel, affirmative ? vbRetry : vbCancel},
    };
}

void HeadlessWindowSystem::setDefaultAnswer(int buttons, int answer) {
    if (answersOf(buttons).count(answer) == 0)
        throw VbError(vberr::InvalidCall, "The answer " + std::to_string(answer) +
                                              " is not offered by button set " +
                                              std::to_string(buttons));
    defaultAnswers_[buttons] = answer;
}

int HeadlessWindowSystem::MsgBox(std::string_view prompt, int style, std::string_view title) {
    MessageBoxRecord message{title.empty() ? appTitle_ : std::string(title), std::string(prompt),
                             style, 0};
    messages_.push_back(message);
    message.answer = answerFor(message);
    messages_.back().answer = message.answer;
    MessageShown(message);
    return message.answer;
}

int HeadlessWindowSystem::answerFor(const MessageBoxRecord& message) {
    const int buttons = buttonSet(message.style);
    const std::set<int>& offered = answersOf(buttons);
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        if (offered.count(answer) == 0)
            throw VbError(vberr::InvalidCall, "The scripted answer " + std::to_string(answer) +
                                                  " is not offered by the message box " +
                                                  describeMessage(message));
        return answer;
    }
    auto fallback = defaultAnswers_.find(buttons);
    if (fallback != defaultAnswers_.end())
        return fallback->second;
    throw VbError(vberr::InvalidCall,
                  "No scripted answer for the message box " + describeMessage(message));
}

void HeadlessWindowSystem::answerFileDialogNext(std::optional<std::string> path) {
    fileAnswers_.push_back(std::move(path));
}

std::optional<std::string> HeadlessWindowSystem::showFileDialog(FileDialog& dialog) {
    windowLog_.push_back("filedialog " + dialog.DialogTitle());
    FileDialogRecord shown{dialog.DialogTitle(), dialog.Filter(), dialog.InitDir(), dialog.FileName(),
                           dialog.OKButtonCaption(), dialog.Flags(), std::nullopt};
    if (!fileAnswers_.empty()) {
        shown.answer = std::move(fileAnswers_.front());
        fileAnswers_.pop_front();
    } else if (defaultAnswers_.empty()) {
        fileDialogs_.push_back(shown);
        throw VbError(vberr::InvalidCall, "No scripted answer for the file dialog \"" + dialog.DialogTitle() + "\"");
    }
    fileDialogs_.push_back(shown);
    return shown.answer;
}

HeadlessWindowSystem::UserAction HeadlessWindowSystem::takeAction(const std::string& windowName) {
    const std::string key = foldCase(windowName);
    auto once = onceActions_.find(key);
    if (once != onceActions_.end() && !once->second.empty()) {
        UserAction action = std::move(once->second.front());
        once->second.pop_front();
        return action;
    }
    auto always = modalActions_.find(key);
    return always == modalActions_.end() ? UserAction{} : always->second;
}

void HeadlessWindowSystem::runModal(Form& form, Form*) {
    windowLog_.push_back("modal " + form.Name());
    UserAction action = takeAction(form.Name());
    if (!action) {
        form.Hide();
        throw VbError(vberr::InvalidCall,
                      "No scripted user for the modal window " + form.Name(), form.Name());
    }
    action(form);
    if (form.loaded() && form.Visible()) {
        form.Hide();
        throw VbError(vberr::InvalidCall,
                      "The scripted user left the modal window " + form.Name() + " open",
                      form.Name());
    }
}

void HeadlessWindowSystem::windowShown(Form& form, Form*) { windowLog_.push_back("show " + form.Name()); }

void HeadlessWindowSystem::windowHidden(Form& form) { windowLog_.push_back("hide " + form.Name()); }

void HeadlessWindowSystem::windowUnloaded(Form& form) {
    windowLog_.push_back("unload " + form.Name());
}

void HeadlessWindowSystem::windowDestroyed(Form&) {}

std::unique_ptr<BusyWindow> HeadlessWindowSystem::createBusyWindow() {
    return std::make_unique<HeadlessBusyWindow>();
}

void HeadlessWindowSystem::timerChanged(Timer& timer) {
    if (timer.running())
        timers_[timer.hWnd()] = Scheduled{&timer, now_ + timer.Interval()};
    else
        timers_.erase(timer.hWnd());
}

void HeadlessWindowSystem::timerRemoved(int32_t handle) { timers_.erase(handle); }

void HeadlessWindowSystem::advance(int64_t milliseconds) {
    if (milliseconds < 0)
        throw VbError(vberr::InvalidCall, "The clock cannot go back");
    now_ += milliseconds;
}

int64_t HeadlessWindowSystem::nextDue() const {
    int64_t next = -1;
    for (const auto& entry : timers_)
        if (next < 0 || entry.second.due < next)
            next = entry.second.due;
    return next;
}

bool HeadlessWindowSystem::runPendingEvents() {
    const int64_t next = nextDue();
    if (next < 0)
        return false;
    now_ = std::max(now_, next);
    DoEvents();
    return true;
}

void HeadlessWindowSystem::DoEvents() {
    std::vector<std::pair<int64_t, int32_t>> due; // (due time, handle), earliest first
    for (const auto& [handle, scheduled] : timers_)
        if (scheduled.due <= now_)
            due.emplace_back(scheduled.due, handle);
    std::sort(due.begin(), due.end());
    for (const auto& [time, handle] : due) {
        auto it = timers_.find(handle);
        if (it == timers_.end() || it->second.due > now_)
            continue; // stopped or restarted by an earlier timer's event
        Timer* timer = it->second.timer;
        if (Control::fromHandle(handle) != timer || !timer->running()) {
            timers_.erase(it);
            continue;
        }
        it->second.due = now_ + timer->Interval(); // restart before the event may stop it
        timer->Tick();
    }
}

void HeadlessWindowSystem::setTwipsPerPixel(int32_t x, int32_t y) {
    if (x <= 0 || y <= 0)
        throw VbError(vberr::InvalidCall, "Twips per pixel must be positive");
    twipsX_ = x;
    twipsY_ = y;
}

void HeadlessWindowSystem::setScreenSize(int32_t widthTwips, int32_t heightTwips) {
    if (widthTwips <= 0 || heightTwips <= 0)
        throw VbError(vberr::InvalidCall, "The screen size must be positive");
    screenWidth_ = widthTwips;
    screenHeight_ = heightTwips;
}

} // namespace corvane::controls
