// ControlViews: makes the Qt view of a control, by the control's type name.
//
// Every standard control type has a view; other parts of the program (the spell-check
// control, the help viewer) register their own with registerControlView before their
// windows are shown. A view is a QWidget placed where the model says (Left, Top, Width,
// Height in twips within its container) that follows the model's Visible, Enabled and
// ToolTipText and feeds user input into the model. Controls without a place of their own
// (timers, menus, file dialogs) get no view.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace corvane::controls {
class Control;
}

namespace corvane::app {

class ViewContext;

// Makes the view of one control inside `parent`; null when the control shows nothing.
using ControlViewFactory = std::function<QWidget*(controls::Control&, QWidget* parent, ViewContext&)>;

// Registers (or replaces) the view of a control type (VB type name, "TextBox").
void registerControlView(const std::string& typeName, ControlViewFactory factory);

// The view of a control with its placement bound to the model; null when it has none.
QWidget* createControlView(controls::Control& control, QWidget* parent, ViewContext& context);

// Places a view where the model says and keeps it there (used by createControlView).
void bindPlacement(controls::Control& control, QWidget& view, ViewContext& context);

// Registers the views of the standard controls (StandardViews.cpp, ListViews.cpp).
void registerStandardViews();
void registerListViews();
void registerContainerViews();

} // namespace corvane::app
