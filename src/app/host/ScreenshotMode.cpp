#include "app/host/ScreenshotMode.h"

#include "app/host/ErrorDialogComponent.h"
#include "app/host/GuiProgram.h"
#include "app/host/QtBusyWindow.h"
#include "app/host/UnattendedAnswers.h"
#include "app/preview/PreviewWindow.h"
#include "app/views/FormWindow.h"
#include "app/views/ViewContext.h"
#include "controls/SpellDialog.h"
#include "editor/FrmWizard.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <optional>
#include <ostream>

namespace corvane::app {

namespace {

// The editor's picture with `over` (a window in front of it) drawn where it stands.
QPixmap composed(QWidget& editor, QWidget* over) {
    QPixmap picture = editor.grab();
    if (over && over->isVisible()) {
        QPainter painter(&picture);
        painter.drawPixmap(over->geometry().topLeft() - editor.geometry().topLeft(), over->grab());
    }
    return picture;
}

// The editor's picture with `beside` (a window of its own) to its right, as a screen wide
// enough shows them.
QPixmap besideEachOther(QWidget& editor, QWidget& beside) {
    constexpr int gap = 8;
    QPixmap left = editor.grab(), right = beside.grab();
    QPixmap picture(left.width() + gap + right.width(), std::max(left.height(), right.height()));
    picture.fill(Qt::darkGray);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + gap, 0, right);
    return picture;
}

// Picks the module, view and grouping; false (with a message) when one names nothing.
bool setUp(FrmWizard& editor, const ScreenshotRequest& request, std::ostream& err) {
    bool ok = true;
    ViewContext context;
    context.act([&] {
        if (!request.module.empty()) {
            controls::ListBox& modules = editor.lbxModules();
            int32_t found = -1;
            for (int32_t i = 0; i < modules.ListCount() && found < 0; ++i)
                if (modules.List(i) == request.module)
                    found = i;
            if (found < 0) {
                err << "corvane: no module '" << request.module << "'\n";
                ok = false;
                return;
            }
            modules.SetListIndex(found);
        }
        if (request.view == "card" || request.view == "table")
            editor.ActiveBar().clickTool(editor.ActiveBar().Bands(0).Tools().Item(request.view == "card" ? "cardview" : "tableview"));
        if (!request.groupBy.empty()) {
            const controls::GridColumn* column = nullptr;
            for (const auto& each : editor.Grid().Columns())
                if (each->Key() == request.groupBy)
                    column = each.get();
            if (!column) {
                err << "corvane: the grid has no column '" << request.groupBy << "'\n";
                ok = false;
                return;
            }
            editor.Grid().Groups().Clear();
            editor.Grid().Groups().Add(column->Index(), 1);
        }
    });
    return ok;
}

} // namespace

bool readScreenshotOption(const std::vector<std::string>& arguments, size_t& i, ScreenshotRequest& request) {
    if (i + 1 >= arguments.size())
        return false;
    const std::string& option = arguments[i];
    std::string* target = option == "--screenshot" ? nullptr
                          : option == "--module"   ? &request.module
                          : option == "--view"     ? &request.view
                          : option == "--group-by" ? &request.groupBy
                          : option == "--during"   ? &request.during
                                                   : nullptr;
    if (option == "--screenshot")
        request.file = arguments[i + 1];
    else if (!target)
        return false;
    else
        *target = arguments[i + 1];
    ++i;
    return true;
}

int takeScreenshot(GuiSession& session, const ScreenshotRequest& request, std::ostream& err) {
    FrmWizard* editor = session.addin().editor();
    FormWindow* window = editor ? session.windows().window(*editor) : nullptr;
    if (!window) {
        err << "corvane: the editor did not open\n";
        return 1;
    }
    if (!request.view.empty() && request.view != "card" && request.view != "table") {
        err << "corvane: --view takes table or card\n";
        return 1;
    }
    if (!setUp(*editor, request, err))
        return 1;
    QApplication::processEvents();
    std::optional<QPixmap> picture;
    ViewContext context;
    if (request.during == "spellcheck") {
        // The first question is pictured, then the check is cancelled as with the close box.
        session.windows().setModalHandler([&](controls::Form& form, FormWindow& shown) {
            if (!picture && form.Name() == "SpellDialog")
                picture = composed(*window, &shown);
            context.act([&] { form.userClose(); });
        });
        context.act([&] {
            editor->SetSpellType("sc_currentmodule");
            editor->ActiveBar().clickTool(editor->ActiveBar().Bands(0).Tools().Item("spellcheck"));
        });
    } else if (request.during == "compile") {
        QtBusyWindow::setProgressObserver([&](QWidget& busy, int percent) {
            if (!picture && percent > 0)
                picture = composed(*window, &busy);
        });
        context.act([&] { editor->ActiveBar().clickTool(editor->ActiveBar().Bands(0).Tools().Item("compile")); });
        QtBusyWindow::setProgressObserver(nullptr);
    } else if (request.during == "preview") {
        auto* preview = window->findChild<PreviewWindow*>();
        if (preview && preview->toggleAction()) {
            const bool wasOpen = preview->toggleAction()->isChecked();
            preview->toggleAction()->setChecked(true);
            QApplication::processEvents();
            picture = besideEachOther(*window, *preview);
            preview->toggleAction()->setChecked(wasOpen); // the next editor opens it as before
        }
    } else if (request.during == "save") {
        // The first error report of a save that fails is shown over the editor and pictured;
        // every report is answered as when nobody is there.
        registerErrorDialogComponent(nullptr, [&](const std::string& report) {
            if (!picture)
                askWithDialog(report, [&](QDialog& dialog) {
                    dialog.move(window->geometry().center() - dialog.rect().center()); // as over its owner
                    picture = composed(*window, &dialog);
                    dialog.reject();
                });
            return ignoreErrorReport(report, err);
        });
        context.act([&] { editor->ActiveBar().clickTool(editor->ActiveBar().Bands(0).Tools().Item("save")); });
        if (!picture) {
            err << "corvane: the save reported no error (nothing to picture)\n";
            return 1;
        }
    } else if (!request.during.empty()) {
        err << "corvane: --during takes spellcheck, compile, preview or save\n";
        return 1;
    } else {
        picture = window->grab();
    }
    if (!picture) {
        err << "corvane: the editor never showed the " << request.during << " (nothing to picture)\n";
        return 1;
    }
    if (!picture->save(QString::fromStdString(request.file.string()), "PNG")) {
        err << "corvane: cannot write '" << request.file.string() << "'\n";
        return 1;
    }
    return 0;
}

} // namespace corvane::app
