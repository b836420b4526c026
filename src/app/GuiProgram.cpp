#include "app/GuiProgram.h"

#include "app/ErrorDialogComponent.h"
#include "app/FormWindow.h"
#include "app/PreviewWindow.h"
#include "editor/FrmWizard.h"
#include "vbide/CommandBars.h"
#include "vbide/VBE.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPixmap>

#include <iostream>

namespace corvane::app {

bool isGuiCommand(const std::vector<std::string>& arguments) {
    return arguments.empty() || arguments.front() == "edit";
}

GuiSession::GuiSession() : scope_(windows_), vbe_(std::make_shared<vbide::VBE>()) {
    registerErrorDialogComponent();
    addin_.load();
    addin_.connect(vbe_);
    host_ = std::make_unique<HostWindow>(vbe_);
    windows_.setMainWindow(host_.get());
    // The editor's window gets its layout preview (a window the editor's window owns).
    windows_.setWindowHooks({[](controls::Form& form, FormWindow& window) {
                                 if (auto* editor = dynamic_cast<FrmWizard*>(&form))
                                     new PreviewWindow(*editor, window);
                             },
                             [](controls::Form&, FormWindow& window) {
                                 if (auto* preview = window.findChild<PreviewWindow*>())
                                     preview->retire();
                             }});
}

GuiSession::~GuiSession() {
    // The editor goes before the IDE it works on; closing from code does not save.
    if (FrmWizard* editor = addin_.editor(); editor && editor->loaded())
        editor->Unload();
    addin_.disconnect();
}

bool GuiSession::edit(const std::filesystem::path& project) {
    if (!host_->openProject(project))
        return false;
    auto entry = addin_.wizard() ? addin_.wizard()->menuEntry() : nullptr;
    if (!entry)
        return false;
    ViewContext context;
    context.act([&] { entry->click(); });
    return true;
}

void applyProgramFont() {
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
        QFont font(QStringLiteral("Tahoma"));
        font.setPointSizeF(8.25);
        QApplication::setFont(font);
    }
}

bool saveScreenshot(QWidget& widget, const std::filesystem::path& file) {
    return widget.grab().save(QString::fromStdString(file.string()), "PNG");
}

namespace {

struct EditArguments {
    std::string project;
    std::string screenshot;
    bool valid = false;
};

EditArguments parseEdit(const std::vector<std::string>& arguments) {
    EditArguments parsed;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--screenshot" && i + 1 < arguments.size())
            parsed.screenshot = arguments[++i];
        else if (parsed.project.empty() && arguments[i].rfind("--", 0) != 0)
            parsed.project = arguments[i];
        else
            return parsed;
    }
    parsed.valid = !parsed.project.empty();
    return parsed;
}

} // namespace

int runGui(int& argc, char** argv, const std::vector<std::string>& arguments) {
    EditArguments edit;
    if (!arguments.empty()) {
        edit = parseEdit(arguments);
        if (!edit.valid) {
            std::cerr << "usage: corvane edit PROJECT.vbp [--screenshot FILE.png]\n";
            return 2;
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    applyProgramFont();
    GuiSession session;
    session.host().show();
    if (arguments.empty())
        return QApplication::exec();
    if (!session.edit(edit.project))
        return 1;
    if (edit.screenshot.empty())
        return QApplication::exec();
    FrmWizard* editor = session.addin().editor();
    FormWindow* window = editor ? session.windows().window(*editor) : nullptr;
    if (!window) {
        std::cerr << "corvane: the editor did not open\n";
        return 1;
    }
    QApplication::processEvents();
    if (!saveScreenshot(*window, edit.screenshot)) {
        std::cerr << "corvane: cannot write '" << edit.screenshot << "'\n";
        return 1;
    }
    return 0;
}

} // namespace corvane::app
