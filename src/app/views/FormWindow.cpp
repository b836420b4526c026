#include "app/views/FormWindow.h"

#include "app/views/AppIcons.h"
#include "app/views/ControlViews.h"
#include "app/views/ScreenPlace.h"
#include "app/views/ViewContext.h"
#include "controls/ActiveBar.h"
#include "controls/CommandButton.h"
#include "controls/Form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace corvane::app {

namespace {
// The frame the form counts around its client area: the sizes the editor's layout subtracts
// from its outer size (6 pixels across, 25 down), so that its panes fill the client area.
constexpr int FramePixelsX = 6;
constexpr int FramePixelsY = 25;
} // namespace

FormWindow::FormWindow(controls::Form& form, QWidget* owner)
    : QWidget(owner, Qt::Window), form_(form), body_(new QWidget) {
    setObjectName(QString::fromStdString(form.Name()));
    setAttribute(Qt::WA_DeleteOnClose, false);
    form.setFrameSize(FramePixelsX, FramePixelsY);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildViews();
    layout->addWidget(body_, 1);
    placeInContainers();
    showFormProperties();
    applyBounds();
    syncToolbarHeight();
    context_.connect(form.PropertyChanged, [this](std::string_view property) {
        if (property == "Caption" || property == "Icon")
            showFormProperties();
        else if (property == "Geometry" || property == "WindowState")
            applyBounds();
    });
}

FormWindow::~FormWindow() { context_.retire(); }

void FormWindow::retire() { context_.retire(); }

void FormWindow::addStatusLine(QWidget* line) {
    line->setParent(this);
    line->setFixedHeight(line->sizeHint().height());
    layout()->addWidget(line);
    statusLine_ = line;
    applyBounds();
}

void FormWindow::showStatusLine(bool shown) {
    if (!statusLine_ || shown == !statusLine_->isHidden())
        return;
    statusLine_->setVisible(shown);
    boundsFromUser(); // the window keeps its size; the form's client area changes
}

int FormWindow::statusHeight() const {
    return statusLine_ && !statusLine_->isHidden() ? statusLine_->height() : 0;
}

void FormWindow::buildViews() {
    for (controls::Control& control : form_.Controls()) {
        bool toolbar = control.TypeName() == "ActiveBar";
        QWidget* view = createControlView(control, toolbar ? static_cast<QWidget*>(this) : body_, context_);
        if (!view)
            continue;
        views_[&control] = view;
        if (toolbar) {
            layout()->addWidget(view);
            toolbar_ = static_cast<controls::ActiveBar*>(&control);
            toolbarView_ = view;
        }
    }
}

void FormWindow::placeInContainers() {
    for (auto& [control, view] : views_) {
        auto container = views_.find(control->Container());
        if (container != views_.end() && view->parentWidget() != container->second) {
            QRect geometry = view->geometry();
            view->setParent(container->second);
            view->setGeometry(geometry);
            view->setVisible(control->Visible());
        }
    }
    // Children are made before some of their containers: keep each container under its children.
    for (auto& [control, view] : views_)
        if (control->canContain())
            view->lower();
}

QWidget* FormWindow::view(const std::string& controlName) const {
    for (const auto& [control, view] : views_)
        if (control->Name() == controlName)
            return view;
    return nullptr;
}

void FormWindow::showFormProperties() {
    setWindowTitle(QString::fromStdString(form_.Caption()));
    QIcon icon = programIcon(form_.Icon());
    if (!icon.isNull())
        setWindowIcon(icon);
}

void FormWindow::applyBounds() {
    if (applying_)
        return;
    applying_ = true;
    int16_t state = form_.WindowState();
    if (state == controls::vbNormal) {
        if (isMaximized() || isMinimized())
            showNormal();
        placeNormal();
    } else if (!isVisible()) {
        placeNormal(); // where the window goes back to from the state it is shown in
    } else if (state == controls::vbMaximized) {
        showMaximized();
    } else {
        showMinimized();
    }
    applying_ = false;
}

void FormWindow::placeNormal() {
    controls::Form::Bounds bounds = form_.normalBounds();
    const QRect stored(ViewContext::toPixelsX(bounds.left), ViewContext::toPixelsY(bounds.top),
                       std::max(1, ViewContext::toPixelsX(bounds.width)), std::max(1, ViewContext::toPixelsY(bounds.height)));
    // A place kept from a screen that is no longer attached comes onto one that is.
    const QRect frame = ScreenPlace::onPresentScreen(stored);
    move(frame.topLeft());
    resize(std::max(1, frame.width() - FramePixelsX), std::max(1, frame.height() - FramePixelsY + statusHeight()));
}

void FormWindow::syncToolbarHeight() {
    if (!toolbar_ || !context_.live())
        return;
    // The layout below the toolbar reads the first band's height: give it the real one.
    int height = toolbarView_->sizeHint().height();
    controls::Band& band = toolbar_->Bands(0);
    if (band.Height() == height)
        return;
    band.SetHeight(height);
    context_.act([&] { form_.refreshLayout(); });
}

void FormWindow::stateFromUser() {
    if (applying_ || !context_.live())
        return;
    int16_t state = isMinimized() ? controls::vbMinimized : isMaximized() ? controls::vbMaximized : controls::vbNormal;
    if (state == form_.WindowState())
        return;
    applying_ = true;
    context_.act([&] { form_.SetWindowState(state); });
    applying_ = false;
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        stateFromUser();
}

void FormWindow::boundsFromUser() {
    // Only the normal bounds are the form's: a maximised or minimised window keeps them.
    if (applying_ || !context_.live() || !isVisible() || form_.WindowState() != controls::vbNormal ||
        (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        return;
    applying_ = true;
    context_.act([&] {
        form_.Move(ViewContext::toTwipsX(x()), ViewContext::toTwipsY(y()),
                   ViewContext::toTwipsX(width() + FramePixelsX), ViewContext::toTwipsY(height() - statusHeight() + FramePixelsY));
    });
    applying_ = false;
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    stateFromUser();
    boundsFromUser();
    syncToolbarHeight();
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    boundsFromUser();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    // The form decides: its QueryUnload may cancel or defer; the window goes when it unloads.
    event->ignore();
    context_.act([&] { form_.userClose(); });
}

bool FormWindow::pressButton(bool defaultButton) {
    if (!context_.live())
        return false; // reading the controls of an unloaded form would load it again
    for (controls::Control& control : form_.Controls()) {
        auto* button = dynamic_cast<controls::CommandButton*>(&control);
        if (button && button->Enabled() && button->Visible() && (defaultButton ? button->Default() : button->Cancel())) {
            context_.act([&] { button->Click(); });
            return true;
        }
    }
    return false;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((enter && pressButton(true)) || (event->key() == Qt::Key_Escape && pressButton(false)))
        return;
    QWidget::keyPressEvent(event);
}

} // namespace corvane::app
