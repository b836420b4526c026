#include "app/ToolbarView.h"

#include "app/AppIcons.h"
#include "app/ViewContext.h"
#include "controls/ActiveBar.h"

#include <QComboBox>
#include <QMenu>
#include <QToolButton>

namespace corvane::app {

namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }

// Shows a tool's caption, tip, state and icon on an action.
void showTool(controls::Tool& tool, QAction& action) {
    // A tool without a caption is a picture only; its tip names it for menus and readers.
    const std::string& name = !tool.Caption().empty()       ? tool.Caption()
                              : !tool.ToolTipText().empty() ? tool.ToolTipText()
                                                            : tool.Name();
    action.setText(text(name));
    action.setToolTip(text(tool.ToolTipText()));
    action.setCheckable(true);
    action.setChecked(tool.Checked());
    action.setEnabled(tool.Enabled());
    action.setIcon(toolIcon(tool.IconName().empty() ? tool.Name() : tool.IconName()));
}

} // namespace

ToolbarView::ToolbarView(controls::ActiveBar& bar, ViewContext& context, QWidget* parent)
    : QToolBar(parent), bar_(bar), context_(context) {
    setObjectName(QStringLiteral("ActiveBar"));
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize({16, 16});
    if (bar.BandCount() == 0)
        return;
    for (controls::Tool& tool : bar.Bands(0).Tools()) {
        if (tool.Type() == controls::ToolType::ComboBox)
            addCombo(tool);
        else
            addButton(tool);
    }
}

void ToolbarView::addButton(controls::Tool& tool) {
    auto* action = new QAction(this);
    auto* button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setObjectName(text(tool.Name()));
    auto showButton = [&tool, action, button] {
        showTool(tool, *action);
        bool pictureOnly = tool.Caption().empty() && !action->icon().isNull();
        button->setToolButtonStyle(pictureOnly ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    };
    showButton();
    // The model decides whether a tool is checked; a click only asks it.
    connect(action, &QAction::triggered, this, [this, &tool, action] {
        context_.act([&] { bar_.clickTool(tool); });
        if (context_.live())
            showTool(tool, *action);
    });
    if (tool.Type() == controls::ToolType::DropDownButton && !tool.SubBand().empty()) {
        button->setMenu(bandMenu(tool.SubBand()));
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    context_.connect(tool.Changed, showButton);
    addWidget(button);
    buttons_[tool.Name()] = button;
}

QMenu* ToolbarView::bandMenu(const std::string& bandName) {
    auto* menu = new QMenu(this);
    controls::Band* band = nullptr;
    for (int32_t i = 0; i < bar_.BandCount(); ++i)
        if (bar_.Bands(i).Name() == bandName)
            band = &bar_.Bands(i);
    if (!band)
        return menu;
    for (controls::Tool& tool : band->Tools()) {
        QAction* action = menu->addAction(QString());
        showTool(tool, *action);
        connect(action, &QAction::triggered, this, [this, &tool, action] {
            context_.act([&] { bar_.clickTool(tool); });
            if (context_.live())
                showTool(tool, *action);
        });
        context_.connect(tool.Changed, [&tool, action] { showTool(tool, *action); });
        menuActions_[tool.Name()] = action;
    }
    return menu;
}

void ToolbarView::addCombo(controls::Tool& tool) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(text(tool.Name()));
    combo->setMinimumContentsLength(12);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto show = [&tool, combo] {
        QSignalBlocker blocker(combo);
        combo->clear();
        for (int32_t i = 0; i < tool.ComboList().Count(); ++i)
            combo->addItem(text(tool.ComboList().Item(i)));
        combo->setCurrentIndex(tool.ComboListIndex());
        combo->setToolTip(text(tool.ToolTipText()));
        combo->setEnabled(tool.Enabled());
    };
    show();
    context_.connect(tool.Changed, show);
    context_.connect(tool.ComboList().Changed, show);
    connect(combo, &QComboBox::activated, this, [this, &tool](int index) {
        context_.act([&] { bar_.pickComboEntry(tool, index); });
    });
    addWidget(combo);
    combos_[tool.Name()] = combo;
}

QToolButton* ToolbarView::button(const std::string& toolName) const {
    auto it = buttons_.find(toolName);
    return it == buttons_.end() ? nullptr : it->second;
}

QComboBox* ToolbarView::combo(const std::string& toolName) const {
    auto it = combos_.find(toolName);
    return it == combos_.end() ? nullptr : it->second;
}

QAction* ToolbarView::menuAction(const std::string& toolName) const {
    auto it = menuActions_.find(toolName);
    return it == menuActions_.end() ? nullptr : it->second;
}

QWidget* createToolbarView(controls::Control& control, QWidget* parent, ViewContext& context) {
    return new ToolbarView(static_cast<controls::ActiveBar&>(control), context, parent);
}

} // namespace corvane::app
