// FormWindow: the Qt window of one form. Its widgets are views over the form's controls
// (see ControlViews); the toolbar of a form, when it has one, sits on top and the form's
// client area below it. The window follows the form's caption, icon, bounds and state; the
// user's resizing and moving go into the form, and the close box is the form's userClose.
#pragma once

#include "app/views/ViewContext.h"

#include <QWidget>

#include <map>
#include <string>

namespace corvane::controls {
class ActiveBar;
class Control;
class Form;
} // namespace corvane::controls

namespace corvane::app {

class FormWindow : public QWidget {
public:
    // The window of `form`, with views of every control the form has now.
    explicit FormWindow(controls::Form& form, QWidget* owner = nullptr);
    ~FormWindow() override;

    // The form shown.
    controls::Form& form() const noexcept { return form_; }
    // The view of a control by its name, or null (tests reach widgets this way).
    QWidget* view(const std::string& controlName) const;
    // The area below the toolbar in which the controls lie.
    QWidget* body() const noexcept { return body_; }
    // Cuts the window off its form: called when the form unloads; the widget goes later.
    void retire();
    // Puts `line` (a status line, which the window takes) below the form's client area. The
    // form does not count it: the window is taller than the form's client area by its height.
    void addStatusLine(QWidget* line);
    // Shows or hides the status line; the form's client area takes or gives its room.
    void showStatusLine(bool shown);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildViews();
    void placeInContainers();
    void showFormProperties();
    void applyBounds();
    void placeNormal();
    void boundsFromUser();
    void stateFromUser();
    void syncToolbarHeight();
    bool pressButton(bool defaultButton);
    int statusHeight() const;

    controls::Form& form_;
    ViewContext context_;
    QWidget* body_;
    std::map<controls::Control*, QWidget*> views_;
    controls::ActiveBar* toolbar_ = nullptr;
    QWidget* toolbarView_ = nullptr;
    bool applying_ = false;
    QWidget* statusLine_ = nullptr;
};

} // namespace corvane::app
