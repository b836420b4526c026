// QtBusyWindow: the busy window of the desktop program: a small window with the message and
// a progress bar. Long work does not return to the event loop, so every change repaints at
// once.
#pragma once

#include "controls/BusyWindow.h"

#include <QPointer>

#include <functional>

class QLabel;
class QProgressBar;
class QWidget;

namespace corvane::app {

class QtBusyWindow : public controls::BusyWindow {
public:
    QtBusyWindow();
    ~QtBusyWindow() override;

    // The window (tests and screenshots look at it).
    QWidget* widget() const { return window_; }
    // Called with the shown window and its percentage after each change of progress while
    // it is shown (the screenshot mode pictures the work under way); null: none.
    static void setProgressObserver(std::function<void(QWidget&, int)> observer);

protected:
    void stateChanged(const controls::BusyState& state) override;

private:
    QPointer<QWidget> window_;
    QLabel* message_;
    QProgressBar* progress_;
};

} // namespace corvane::app
