#include "app/host/UnattendedAnswers.h"

#include "app/host/ErrorDialogComponent.h"
#include "app/host/QtWindowSystem.h"
#include "app/views/FormWindow.h"
#include "app/views/ViewContext.h"
#include "controls/FileDialog.h"
#include "controls/Form.h"
#include "platform/Machine.h"
#include "text/MessageText.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

namespace corvane::app {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

void answerUnattended(QtWindowSystem& windows, std::ostream& log) {
    windows.setMessageBoxHandler([&log](std::string_view prompt, int style, std::string_view title) {
        int answer = QtWindowSystem::defaultAnswer(style);
        log << "corvane: message \"" << title << "\": " << oneLine(std::string(prompt)) << " -> "
            << QtWindowSystem::answerName(answer) << std::endl;
        return answer;
    });
    windows.setFileDialogHandler([&log](controls::FileDialog& dialog) -> std::optional<std::string> {
        log << "corvane: file dialog \"" << dialog.DialogTitle() << "\" -> Cancel" << std::endl;
        return std::nullopt;
    });
    windows.setModalHandler([&log](controls::Form& form, FormWindow&) {
        log << "corvane: window \"" << form.Caption() << "\" -> closed" << std::endl;
        ViewContext context;
        context.act([&] {
            if (!form.userClose() && form.loaded())
                form.Hide(); // a window that will not close still ends its modal loop
        });
    });
    registerErrorDialogComponent(nullptr, [&log](const std::string& report) { return ignoreErrorReport(report, log); });
}

ErrorChoice ignoreErrorReport(const std::string& report, std::ostream& log) {
    log << "corvane: error report: " << oneLine(report) << " -> Ignore" << std::endl;
    return ErrorChoice::Ignore;
}

bool displayAvailable() {
    if (platform::desktopAlwaysPresent() || !environment("QT_QPA_PLATFORM").empty() ||
        !environment("WAYLAND_DISPLAY").empty())
        return true;
    std::string display = environment("DISPLAY");
    if (display.empty())
        return false;
    size_t colon = display.rfind(':');
    if (colon == std::string::npos)
        return false;
    if (colon > 0 && display.compare(0, colon, "unix") != 0)
        return true; // a display on another host: only connecting tells
    std::string number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    std::error_code error;
    return std::filesystem::exists("/tmp/.X11-unix/X" + number, error);
}

} // namespace corvane::app
