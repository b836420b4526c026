#include "app/host/GuiProgram.h"

#include "app/editor/CoverageStatus.h"
#include "app/editor/EditHistory.h"
#include "app/editor/EditorFilters.h"
#include "app/editor/FindWindow.h"
#include "app/host/ErrorDialogComponent.h"
#include "app/host/ScreenshotMode.h"
#include "app/host/UnattendedAnswers.h"
#include "app/preview/PreviewWindow.h"
#include "app/views/FormWindow.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "cli/CodePageOption.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "platform/AppFolders.h"
#include "vbide/CommandBars.h"
#include "vbide/VBE.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <cstdlib>
#include <iostream>

namespace corvane::app {

bool isGuiCommand(const std::vector<std::string>& arguments) {
    return arguments.empty() || arguments.front() == "edit";
}

GuiSession::GuiSession() : scope_(windows_), vbe_(std::make_shared<vbide::VBE>()) {
    registerErrorDialogComponent();
    addin_.load();
    addin_.modMain().guardsSharedUse = true; // a person works here: the editor guards shared use
    addin_.connect(vbe_);
    host_ = std::make_unique<HostWindow>(vbe_);
    windows_.setMainWindow(host_.get());
    // The editor's window gets its layout preview (a window the editor's window owns), its
    // coverage status line, the history of its edits, its find window and its filters.
    windows_.setWindowHooks({[](controls::Form& form, FormWindow& window) {
                                 if (auto* editor = dynamic_cast<FrmWizard*>(&form)) {
                                     new PreviewWindow(*editor, window);
                                     new CoverageStatus(*editor, window);
                                     new EditHistory(*editor, window);
                                     new FindWindow(*editor, window);
                                     new EditorFilters(*editor, window);
                                     // The Caption column shows captions as their controls do.
                                     if (auto* grid = dynamic_cast<GridView*>(window.view("Grid")))
                                         grid->model()->showAsCaptions(HelpGridColumn::Caption);
                                 }
                             },
                             [](controls::Form&, FormWindow& window) {
                                 if (auto* preview = window.findChild<PreviewWindow*>())
                                     preview->retire();
                                 if (auto* status = window.findChild<CoverageStatus*>())
                                     status->retire();
                                 if (auto* history = window.findChild<EditHistory*>())
                                     history->retire();
                                 if (auto* find = window.findChild<FindWindow*>())
                                     find->retire();
                                 if (auto* filters = window.findChild<EditorFilters*>())
                                     filters->retire();
                             }});
    host_->setCloseGuard([this] { return closeEditorFirst(); });
}

bool GuiSession::closeEditorFirst() {
    FrmWizard* editor = addin_.editor();
    if (!editor || !editor->loaded() || !editor->Visible())
        return true;
    // The editor closes as with its close box: it saves from its timer, after this returns.
    ViewContext context;
    bool closed = false;
    context.act([&] { closed = editor->userClose(); });
    if (closed || !editor->loaded())
        return true;
    // Once it has unloaded (the save done), the host closes; if the save keeps it open, so
    // does the host.
    QPointer<HostWindow> host(host_.get());
    whenEditorUnloads(*editor, [host] {
        if (host)
            host->close();
    });
    return false;
}

void GuiSession::whenEditorUnloads(FrmWizard& editor, std::function<void()> then) {
    auto connection = std::make_shared<int>(0);
    QPointer<HostWindow> host(host_.get());
    *connection = editor.PropertyChanged.connect([&editor, connection, host, then](std::string_view property) {
        if (property != "Visible" || editor.loaded())
            return;
        QTimer::singleShot(0, host, [&editor, connection, then] {
            editor.PropertyChanged.disconnect(*connection);
            then();
        });
    });
}

void GuiSession::endWithEditor(std::function<void()> end) {
    FrmWizard* editor = addin_.editor();
    if (!editor || !editor->loaded())
        return;
    QPointer<HostWindow> host(host_.get());
    if (!end)
        end = [] { QCoreApplication::quit(); };
    whenEditorUnloads(*editor, [host, editor, end] {
        // An editor opened again meanwhile (the menu entry picked once more) keeps the program.
        if (!editor->loaded() && host && host->close())
            end();
    });
}

GuiSession::~GuiSession() {
    // The editor goes before the IDE it works on; closing from code does not save.
    if (FrmWizard* editor = addin_.editor(); editor && editor->loaded())
        editor->Unload();
    addin_.disconnect();
}

bool GuiSession::edit(const std::filesystem::path& project, std::optional<int> codePage) {
    if (!host_->openProject(project, codePage))
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
    std::optional<int> codePage; // --codepage
    ScreenshotRequest screenshot;
    bool valid = false;
};

EditArguments parseEdit(std::vector<std::string> arguments) {
    EditArguments parsed;
    if (!cli::takeCodePageOption(arguments, parsed.codePage, "edit", std::cerr))
        return parsed;
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (readScreenshotOption(arguments, i, parsed.screenshot))
            continue;
        if (!parsed.project.empty() || arguments[i].rfind("--", 0) == 0)
            return parsed;
        parsed.project = arguments[i];
    }
    // The options that set up a picture need one.
    const ScreenshotRequest& shot = parsed.screenshot;
    bool setUp = !shot.module.empty() || !shot.view.empty() || !shot.groupBy.empty() || !shot.during.empty();
    parsed.valid = !parsed.project.empty() && (!setUp || !shot.file.empty());
    return parsed;
}

// The offscreen platform says for every window what it cannot do; none of it matters here.
void quietOffscreenPlatform() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QStringLiteral("This plugin does not support")) && previous)
            previous(type, context, message);
    });
}

} // namespace

int runGui(int& argc, char** argv, const std::vector<std::string>& arguments) {
    EditArguments edit;
    if (!arguments.empty()) {
        edit = parseEdit(arguments);
        if (!edit.valid) {
            std::cerr << "usage: corvane edit PROJECT.vbp [--codepage N] [--screenshot FILE.png [--module NAME]\n"
                         "                     [--view table|card] [--group-by COLUMN] [--during spellcheck|compile|preview|save]]\n";
            return 2;
        }
    }
    bool unattended = !edit.screenshot.file.empty();
    if (!displayAvailable()) {
        if (!unattended) {
            std::cerr << "corvane: no display (DISPLAY is not set or not reachable); the command line works "
                         "without one: corvane --help\n";
            return 2;
        }
        platform::setEnvironmentVariable("QT_QPA_PLATFORM", "offscreen"); // a picture needs no screen
        quietOffscreenPlatform();
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));
    applyProgramFont();
    GuiSession session;
    if (unattended)
        answerUnattended(session.windows(), std::cerr);
    session.host().show();
    if (arguments.empty())
        return QApplication::exec();
    if (!session.edit(edit.project, edit.codePage))
        return 1;
    if (!unattended) {
        session.endWithEditor();
        return QApplication::exec();
    }
    QApplication::processEvents();
    return takeScreenshot(session, edit.screenshot, std::cerr);
}

} // namespace corvane::app
