#include "app/FormWindow.h"

#include "app/AppIcons.h"
#include "app/ControlViews.h"
#include "controls/CommandButton.h"
#include "controls/Form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace corvane::app {

namespace {
constexpr int FramePixelsX = 8;  // the frame the form counts around its client area
constexpr int FramePixelsY = 30;
} // namespace

FormWindow::FormWindow(controls::Form& form, QWidget* owner)
    : QWidget(owner, Qt::Window), form_(form), body_(new QWidget) {
    setObjectName(QString::fromStdString(form.Name()));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildViews();
    layout->addWidget(body_, 1);
    placeInContainers();
    showFormProperties();
    applyBounds();
    context_.connect(form.PropertyChanged, [this](std::string_view property) {
        if (property == "Caption" || property == "Icon")
            showFormProperties();
        else if (property == "Geometry" || property == "WindowState")
            applyBounds();
    });
}

FormWindow::~FormWindow() { context_.retire(); }

void FormWindow::retire() { context_.retire(); }

void FormWindow::buildViews() {
    for (controls::Control& control : form_.Controls()) {
        bool toolbar = control.TypeName() == "ActiveBar";
        QWidget* view = createControlView(control, toolbar ? static_cast<QWidget*>(this) : body_, context_);
        if (!view)
            continue;
        views_[&control] = view;
        if (toolbar)
            layout()->addWidget(view);
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
    if (form_.WindowState() == controls::vbNormal) {
        if (isMaximized() || isMinimized())
            showNormal();
        move(ViewContext::toPixelsX(form_.Left()), ViewContext::toPixelsY(form_.Top()));
        resize(std::max(1, ViewContext::toPixelsX(form_.ScaleWidth())),
               std::max(1, ViewContext::toPixelsY(form_.ScaleHeight())));
    } else if (form_.WindowState() == controls::vbMaximized && isVisible()) {
        showMaximized();
    } else if (form_.WindowState() == controls::vbMinimized && isVisible()) {
        showMinimized();
    }
    applying_ = false;
}

void FormWindow::boundsFromUser() {
    if (applying_ || !context_.live() || !isVisible() || form_.WindowState() != controls::vbNormal)
        return;
    applying_ = true;
    context_.act([&] {
        form_.Move(ViewContext::toTwipsX(x()), ViewContext::toTwipsY(y()),
                   ViewContext::toTwipsX(width() + FramePixelsX), ViewContext::toTwipsY(height() + FramePixelsY));
    });
    applying_ = false;
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    boundsFromUser();
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
