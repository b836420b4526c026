#include "app/views/ControlViews.h"

#include "app/views/GridView.h"
#include "app/views/SplitterView.h"
#include "app/views/ToolbarView.h"
#include "app/views/ViewContext.h"
#include "controls/Control.h"
#include "vbruntime/CaseFold.h"

#include <QString>
#include <QWidget>

#include <map>

namespace corvane::app {

namespace {

std::map<std::string, ControlViewFactory>& factories() {
    static std::map<std::string, ControlViewFactory> table;
    return table;
}

void registerBuiltInViews() {
    static bool done = false;
    if (done)
        return;
    done = true;
    registerStandardViews();
    registerListViews();
    registerContainerViews();
    registerControlView("Splitter", createSplitterView);
    registerControlView("GridEX", createGridView);
    registerControlView("ActiveBar", createToolbarView);
}

void applyPlacement(controls::Control& control, QWidget& view) {
    view.setGeometry(ViewContext::toPixelsX(control.Left()), ViewContext::toPixelsY(control.Top()),
                     ViewContext::toPixelsX(control.Width()), ViewContext::toPixelsY(control.Height()));
}

} // namespace

void registerControlView(const std::string& typeName, ControlViewFactory factory) {
    registerBuiltInViews();
    factories()[foldCase(typeName)] = std::move(factory);
}

QWidget* createControlView(controls::Control& control, QWidget* parent, ViewContext& context) {
    registerBuiltInViews();
    auto it = factories().find(foldCase(control.TypeName()));
    if (it == factories().end())
        return nullptr;
    QWidget* view = it->second(control, parent, context);
    if (view && control.TypeName() != "ActiveBar")
        bindPlacement(control, *view, context);
    return view;
}

void bindPlacement(controls::Control& control, QWidget& view, ViewContext& context) {
    view.setObjectName(QString::fromStdString(control.Name()));
    applyPlacement(control, view);
    view.setEnabled(control.Enabled());
    view.setVisible(control.Visible());
    view.setToolTip(QString::fromStdString(control.ToolTipText()));
    context.connect(control.PropertyChanged, [&control, &view](std::string_view property) {
        if (property == "Geometry")
            applyPlacement(control, view);
        else if (property == "Visible")
            view.setVisible(control.Visible());
        else if (property == "Enabled")
            view.setEnabled(control.Enabled());
        else if (property == "ToolTipText")
            view.setToolTip(QString::fromStdString(control.ToolTipText()));
    });
}

} // namespace corvane::app
