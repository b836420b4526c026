#include "app/host/QtWindowSystem.h"

#include "app/host/QtBusyWindow.h"
#include "app/views/FormWindow.h"
#include "app/views/ViewContext.h"
#include "controls/FileDialog.h"
#include "controls/Form.h"
#include "controls/Timer.h"
#include "vbruntime/CaseFold.h"

#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace corvane::app {

namespace {

QString text(std::string_view value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }

// The dots per inch of the primary screen (96 when there is none).
double screenDpi(bool horizontal) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

// A Windows file filter ("Text (*.txt)|*.txt|All|*.*") as Qt's ("Text (*.txt) (*.txt);;All (*.*)").
QString qtFilter(const std::string& filter) {
    QStringList parts = text(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = QStringLiteral("(") + QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) +
                           QStringLiteral(")");
        // A description that names its patterns already ("Compiler (hcrtf.exe)") shows them once.
        filters << (parts[i].trimmed().endsWith(patterns) ? parts[i].trimmed() : parts[i] + QLatin1Char(' ') + patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

struct ButtonSet {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSet> buttonsOf(int style) {
    using B = QMessageBox::StandardButton;
    switch (controls::buttonSet(style)) {
    case controls::vbOKCancel: return {{B::Ok, controls::vbOK}, {B::Cancel, controls::vbCancel}};
    case controls::vbAbortRetryIgnore:
        return {{B::Abort, controls::vbAbort}, {B::Retry, controls::vbRetry}, {B::Ignore, controls::vbIgnore}};
    case controls::vbYesNoCancel:
        return {{B::Yes, controls::vbYes}, {B::No, controls::vbNo}, {B::Cancel, controls::vbCancel}};
    case controls::vbYesNo: return {{B::Yes, controls::vbYes}, {B::No, controls::vbNo}};
    case controls::vbRetryCancel: return {{B::Retry, controls::vbRetry}, {B::Cancel, controls::vbCancel}};
    default: return {{B::Ok, controls::vbOK}};
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
    case controls::vbCritical: return QMessageBox::Critical;
    case controls::vbQuestion: return QMessageBox::Question;
    case controls::vbExclamation: return QMessageBox::Warning;
    case controls::vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int QtWindowSystem::defaultAnswer(int style) {
    auto buttons = buttonsOf(style);
    size_t defaultIndex = static_cast<size_t>((style >> 8) & 3); // vbDefaultButton2 = 256 ...
    return buttons[defaultIndex < buttons.size() ? defaultIndex : 0].answer;
}

std::string QtWindowSystem::answerName(int answer) {
    switch (answer) {
    case controls::vbOK: return "OK";
    case controls::vbCancel: return "Cancel";
    case controls::vbAbort: return "Abort";
    case controls::vbRetry: return "Retry";
    case controls::vbIgnore: return "Ignore";
    case controls::vbYes: return "Yes";
    case controls::vbNo: return "No";
    default: return std::to_string(answer);
    }
}

QtWindowSystem::QtWindowSystem() = default;

QtWindowSystem::~QtWindowSystem() {
    for (auto& [form, shown] : shown_)
        if (shown.window) {
            if (hooks_.dropped)
                hooks_.dropped(*form, *shown.window);
            shown.window->retire();
            delete shown.window;
        }
    for (auto& [handle, timer] : timers_)
        delete timer;
}

int QtWindowSystem::MsgBox(std::string_view prompt, int style, std::string_view title) {
    if (messageBoxHandler_)
        return messageBoxHandler_(prompt, style, title.empty() ? std::string_view(appTitle_) : title);
    // Owned by the window the program works in, so that it comes back on top when the box goes.
    QMessageBox box(iconOf(style), text(title.empty() ? std::string_view(appTitle_) : title), text(prompt),
                    QMessageBox::NoButton, frontWindow());
    auto buttons = buttonsOf(style);
    for (const ButtonSet& set : buttons)
        box.addButton(set.button);
    size_t defaultIndex = static_cast<size_t>((style >> 8) & 3); // vbDefaultButton2 = 256 ...
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonSet& set : buttons)
        if (set.button == clicked)
            return set.answer;
    return buttons.size() == 1 ? controls::vbOK : controls::vbCancel; // closed with Esc
}

void QtWindowSystem::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

int32_t QtWindowSystem::TwipsPerPixelX() const { return static_cast<int32_t>(1440.0 / screenDpi(true) + 0.5); }
int32_t QtWindowSystem::TwipsPerPixelY() const { return static_cast<int32_t>(1440.0 / screenDpi(false) + 0.5); }

int32_t QtWindowSystem::ScreenWidth() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->availableGeometry().width() : 1024) * TwipsPerPixelX();
}

int32_t QtWindowSystem::ScreenHeight() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return (screen ? screen->availableGeometry().height() : 768) * TwipsPerPixelY();
}

std::string QtWindowSystem::ClipboardText() const { return QGuiApplication::clipboard()->text().toStdString(); }

void QtWindowSystem::SetClipboardText(std::string value) { QGuiApplication::clipboard()->setText(text(value)); }

std::unique_ptr<controls::BusyWindow> QtWindowSystem::createBusyWindow() { return std::make_unique<QtBusyWindow>(); }

QWidget* QtWindowSystem::frontWindow() const {
    const Shown* front = nullptr;
    for (const auto& [form, shown] : shown_) {
        if (!shown.window || !shown.window->isVisible())
            continue;
        // A modal window is in front of every other; among equals the one shown last.
        auto rank = [](const Shown& s) { return std::pair(s.modalLoop != nullptr, s.order); };
        if (!front || rank(shown) > rank(*front))
            front = &shown;
    }
    return front ? front->window.data() : mainWindow_.data();
}

void QtWindowSystem::placeOverOwner(controls::Form& form, QWidget* owner) {
    // A window that its program never placed opens centred on the window it belongs to.
    if (!owner || form.WindowState() != controls::vbNormal || form.Left() != 0 || form.Top() != 0)
        return;
    QRect area = owner->frameGeometry();
    int width = ViewContext::toPixelsX(form.Width());
    int height = ViewContext::toPixelsY(form.Height());
    QPoint topLeft = area.center() - QPoint(width / 2, height / 2);
    if (QScreen* screen = owner->screen()) {
        QRect available = screen->availableGeometry();
        topLeft.setX(std::clamp(topLeft.x(), available.left(), std::max(available.left(), available.right() - width)));
        topLeft.setY(std::clamp(topLeft.y(), available.top(), std::max(available.top(), available.bottom() - height)));
    }
    ViewContext context;
    context.act([&] { form.Move(ViewContext::toTwipsX(topLeft.x()), ViewContext::toTwipsY(topLeft.y()), form.Width(), form.Height()); });
}

std::optional<std::string> QtWindowSystem::showFileDialog(controls::FileDialog& dialog) {
    if (fileDialogHandler_)
        return fileDialogHandler_(dialog);
    QFileDialog box(frontWindow(), text(dialog.DialogTitle()), text(dialog.InitDir()),
                    qtFilter(dialog.Filter()));
    box.setFileMode((dialog.Flags() & controls::cdlOFNFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!dialog.FileName().empty())
        box.selectFile(text(dialog.FileName()));
    if (!dialog.OKButtonCaption().empty())
        box.setLabelText(QFileDialog::Accept, text(dialog.OKButtonCaption()));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return box.selectedFiles().front().toStdString();
}

QWidget* QtWindowSystem::ownerWidget(controls::Form* owner) const {
    if (owner)
        if (FormWindow* ownerWindow = window(*owner))
            return ownerWindow;
    return mainWindow_.data();
}

FormWindow& QtWindowSystem::windowFor(controls::Form& form, controls::Form* owner, bool modal) {
    QWidget* front = frontWindow();
    Shown& shown = shown_[&form];
    shown.order = ++shownCount_;
    if (!shown.window) {
        QWidget* ownerWindow = ownerWidget(owner);
        shown.window = new FormWindow(form, ownerWindow);
        if (hooks_.made)
            hooks_.made(form, *shown.window);
        if (owner || modal)
            placeOverOwner(form, owner ? ownerWindow : front);
    }
    return *shown.window;
}

FormWindow* QtWindowSystem::window(const controls::Form& form) const {
    auto it = shown_.find(const_cast<controls::Form*>(&form));
    return it == shown_.end() ? nullptr : it->second.window.data();
}

FormWindow* QtWindowSystem::window(std::string_view formName) const {
    for (const auto& [form, shown] : shown_)
        if (shown.window && equalsIgnoreCase(form->Name(), formName))
            return shown.window;
    return nullptr;
}

void QtWindowSystem::windowShown(controls::Form& form, controls::Form* owner) {
    FormWindow& window = windowFor(form, owner, false);
    if (form.WindowState() == controls::vbMaximized)
        window.showMaximized();
    else if (form.WindowState() == controls::vbMinimized)
        window.showMinimized();
    else
        window.show();
    window.raise();
    window.activateWindow();
}

void QtWindowSystem::runModal(controls::Form& form, controls::Form* owner) {
    FormWindow& window = windowFor(form, owner, true);
    window.setWindowModality(Qt::ApplicationModal);
    window.show();
    window.raise();
    window.activateWindow();
    QEventLoop loop;
    shown_[&form].modalLoop = &loop;
    if (modalHandler_) {
        QPointer<FormWindow> shownWindow(&window);
        QTimer::singleShot(0, &loop, [this, &form, shownWindow] {
            if (shownWindow && form.loaded() && form.Visible())
                modalHandler_(form, *shownWindow);
        });
    }
    if (form.loaded() && form.Visible())
        loop.exec();
    auto it = shown_.find(&form);
    if (it != shown_.end() && it->second.modalLoop == &loop) {
        it->second.modalLoop = nullptr;
        if (it->second.window)
            it->second.window->setWindowModality(Qt::NonModal);
    }
}

void QtWindowSystem::endModal(controls::Form& form) {
    auto it = shown_.find(&form);
    if (it != shown_.end() && it->second.modalLoop) {
        it->second.modalLoop->quit();
        it->second.modalLoop = nullptr;
    }
}

void QtWindowSystem::windowHidden(controls::Form& form) {
    if (FormWindow* shownWindow = window(form))
        shownWindow->hide();
    endModal(form);
}

void QtWindowSystem::dropWindow(controls::Form& form) {
    endModal(form);
    auto it = shown_.find(&form);
    if (it == shown_.end())
        return;
    if (FormWindow* gone = it->second.window) {
        if (hooks_.dropped)
            hooks_.dropped(form, *gone);
        gone->retire();
        gone->hide();
        gone->deleteLater(); // the event that unloaded the form may still run in one of its views
    }
    shown_.erase(it);
}

void QtWindowSystem::windowUnloaded(controls::Form& form) { dropWindow(form); }

void QtWindowSystem::windowDestroyed(controls::Form& form) { dropWindow(form); }

void QtWindowSystem::timerChanged(controls::Timer& timer) {
    int32_t handle = timer.hWnd();
    if (!timer.running()) {
        timerRemoved(handle);
        return;
    }
    QTimer*& qtimer = timers_[handle];
    if (!qtimer) {
        qtimer = new QTimer;
        QObject::connect(qtimer, &QTimer::timeout, qtimer, [handle] {
            // The timer may be gone by now: look it up by its handle.
            for (controls::Timer* live : controls::Timer::all())
                if (live->hWnd() == handle && live->running()) {
                    ViewContext context;
                    context.act([&] { live->Tick(); });
                    return;
                }
        });
    }
    qtimer->start(timer.Interval());
}

void QtWindowSystem::timerRemoved(int32_t handle) {
    auto it = timers_.find(handle);
    if (it == timers_.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

} // namespace corvane::app
