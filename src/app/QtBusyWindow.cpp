#include "app/QtBusyWindow.h"

#include "app/FormWindow.h"
#include "app/QtWindowSystem.h"
#include "controls/Form.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace corvane::app {

namespace {
std::function<void(QWidget&, int)>& progressObserver() {
    static std::function<void(QWidget&, int)> observer;
    return observer;
}
} // namespace

void QtBusyWindow::setProgressObserver(std::function<void(QWidget&, int)> observer) {
    progressObserver() = std::move(observer);
}

QtBusyWindow::QtBusyWindow()
    : window_(new QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)), message_(new QLabel),
      progress_(new QProgressBar) {
    window_->setObjectName(QStringLiteral("BusyWindow"));
    auto* layout = new QVBoxLayout(window_);
    layout->addWidget(message_);
    layout->addWidget(progress_);
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

} // namespace corvane::app
