#include "app/host/QtBusyWindow.h"

#include "app/host/QtWindowSystem.h"
#include "app/views/FormWindow.h"
#include "controls/Form.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace corvane::app {

namespace {
std::function<void(QWidget&, int)>& progressObserver() {
    static std::function<void(QWidget&, int)> observer;
    return observer;
}

// While installed, user input reaches only the widgets of one window: the work under way holds
// the editor's data, so no other window may act (close, edit, click) before it ends.
class InputOnlyFor : public QObject {
public:
    explicit InputOnlyFor(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~InputOnlyFor() override { qApp->removeEventFilter(this); }
    InputOnlyFor(const InputOnlyFor&) = delete;
    InputOnlyFor& operator=(const InputOnlyFor&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isInput(event->type()))
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        return !widget || (widget != window_ && !window_->isAncestorOf(widget));
    }

private:
    static bool isInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::Close:
        case QEvent::Drop:
        case QEvent::TouchBegin:
            return true;
        default:
            return false;
        }
    }

    QWidget* window_;
};
} // namespace

void QtBusyWindow::setProgressObserver(std::function<void(QWidget&, int)> observer) {
    progressObserver() = std::move(observer);
}

QtBusyWindow::QtBusyWindow()
    : window_(new QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)), message_(new QLabel),
      progress_(new QProgressBar), cancel_(new QPushButton(QStringLiteral("Cancel"))) {
    window_->setObjectName(QStringLiteral("BusyWindow"));
    auto* layout = new QVBoxLayout(window_);
    layout->addWidget(message_);
    layout->addWidget(progress_);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setVisible(false);
    QObject::connect(cancel_, &QPushButton::clicked, [this] { requestCancel(); });
    message_->setMinimumWidth(320);
    message_->setWordWrap(true);
    window_->resize(360, 90);
}

QtBusyWindow::~QtBusyWindow() { delete window_.data(); }

void QtBusyWindow::stateChanged(const controls::BusyState& state) {
    if (!window_)
        return;
    window_->setWindowTitle(QString::fromStdString(state.title));
    message_->setText(QString::fromStdString(state.message));
    progress_->setVisible(state.showProgress);
    progress_->setRange(0, 100);
    progress_->setValue(state.percent());
    cancel_->setVisible(state.cancellable);
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, state.stayOnTop);
    if (state.visible && !window_->isVisible()) {
        // Owned by the window the work is for (its owner form, else the window in front), so
        // that it stays above that window; centred over it, or over the screen.
        QWidget* over = nullptr;
        if (auto* system = dynamic_cast<QtWindowSystem*>(controls::WindowSystem::current())) {
            if (controls::Form* owner = Owner())
                over = system->window(*owner);
            if (!over)
                over = system->frontWindow();
        }
        window_->setParent(over, window_->windowFlags());
        QRect area = over ? over->frameGeometry() : QRect(QPoint(0, 0), window_->screen()->availableSize());
        window_->move(area.center() - QPoint(window_->width() / 2, window_->height() / 2));
        window_->show();
        window_->raise();
        // Mapping the window needs one pass of the event loop; user input waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else if (!state.visible && window_->isVisible()) {
        window_->hide();
        // Shared by every window: it must not go with the window it was shown over.
        window_->setParent(nullptr, window_->windowFlags());
    }
    // The work goes on without the event loop: paint now.
    if (window_->isVisible()) {
        window_->repaint();
        if (progressObserver() && state.showProgress)
            progressObserver()(*window_, state.percent());
    }
}

void QtBusyWindow::takeInput() {
    if (!window_ || !window_->isVisible())
        return;
    InputOnlyFor onlyThisWindow(window_);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace corvane::app
