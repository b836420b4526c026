// RecordingForm: a window for tests that logs its lifecycle events in order.
#pragma once

#include "controls/CommandButton.h"
#include "controls/Form.h"
#include "controls/Frame.h"
#include "controls/Label.h"
#include "controls/TextBox.h"
#include "controls/Timer.h"

#include <string>
#include <vector>

namespace corvane::controls::test {

class RecordingForm : public Form {
public:
    explicit RecordingForm(std::string name = "frmTest") : Form(std::move(name)) {}

    // The events so far: "Initialize", "Load", "Resize 4800x3600", "QueryUnload 1", "Unload".
    std::vector<std::string> log;
    // QueryUnload sets Cancel for this unload mode (-1: never).
    int cancelMode = -1;

    TextBox& txtLog() {
        ensureLoaded();
        return *txtLog_;
    }
    CommandButton& cmdOk() {
        ensureLoaded();
        return *cmdOk_;
    }
    Timer& timClose() {
        ensureLoaded();
        return *timClose_;
    }

protected:
    void createControls() override {
        Frame& frame = add<Frame>("fraOptions");
        add<Label>("lblTitle", &frame);
        txtLog_ = &add<TextBox>("txtLog");
        cmdOk_ = &add<CommandButton>("cmdOk");
        timClose_ = &add<Timer>("timClose");
        cmdOk_->Click.connect([this] { Hide(); });
    }
    void Form_Initialize() override { log.push_back("Initialize"); }
    void Form_Load() override { log.push_back("Load"); }
    void Form_Resize() override {
        log.push_back("Resize " + std::to_string(Width()) + "x" + std::to_string(Height()));
    }
    void Form_QueryUnload(int& cancel, int unloadMode) override {
        log.push_back("QueryUnload " + std::to_string(unloadMode));
        if (unloadMode == cancelMode)
            cancel = 1;
    }
    void Form_Unload() override { log.push_back("Unload"); }

private:
    TextBox* txtLog_ = nullptr;
    CommandButton* cmdOk_ = nullptr;
    Timer* timClose_ = nullptr;
};

} // namespace corvane::controls::test
