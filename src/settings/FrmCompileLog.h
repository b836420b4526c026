// frmCompileLog: the window that shows what the HTML Help compiler wrote.
//
// The creation run puts the compiler's output into txtLogText (which loads the window) and
// shows the window modally over the editor. The window has no buttons: the user reads the
// log and closes it. The text box fills the whole client area at every size.
#pragma once

#include "addin/ErrorScope.h"
#include "controls/Form.h"
#include "controls/TextBox.h"

#include <string_view>

namespace corvane {

class FrmCompileLog : public controls::Form, public ReportsVariables {
public:
    static constexpr std::string_view VbTypeName = "frmCompileLog";

    FrmCompileLog();
    ~FrmCompileLog() override;

    // The log text (using it loads the window).
    controls::TextBox& txtLogText();

    // The window has no members of its own; reports render none.
    NamedValues moduleVariables() const override { return {}; }

protected:
    void createControls() override;
    void Form_Load() override;
    void Form_Resize() override;

private:
    controls::TextBox* txtLogText_ = nullptr;
};

} // namespace corvane
