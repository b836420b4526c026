// QtBusyWindow: the busy window of the desktop program: a small window with the message, a
// progress bar and, while the work can be stopped, a Cancel button. Long work does not return
// to the event loop, so every change repaints at once; work that can be stopped polls the
// window, which then handles the input to itself and to no other window.
#pragma once

#include "controls/BusyWindow.h"

#include <QPointer>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace corvane::app {

class QtBusyWindow : public controls::BusyWindow {
public:
    QtBusyWindow();
    ~QtBusyWindow() override;

    // The window (tests and screenshots look at it).
    QWidget* widget() const { return window_; }
    // The Cancel button (shown while the work can be stopped).
    QPushButton* cancelButton() const { return cancel_; }
    // Called with the shown window and its percentage after each change of progress while
    // it is shown (the screenshot mode pictures the work under way); null: none.
    static void setProgressObserver(std::function<void(QWidget&, int)> observer);

protected:
    void stateChanged(const controls::BusyState& state) override;
    void takeInput() override;

private:
    QPointer<QWidget> window_;
    QLabel* message_;
    QProgressBar* progress_;
    QPushButton* cancel_;
};

} // namespace corvane::app
