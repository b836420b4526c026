// ToolbarView: the view of the toolbar (ActiveBar): the first band as a tool bar. Buttons
// click through ActiveBar::clickTool, a drop-down button opens its band as a menu whose
// entries click the same way, and a combo tool picks through ActiveBar::pickComboEntry.
#pragma once

#include <QToolBar>

#include <map>
#include <string>

class QComboBox;
class QToolButton;

namespace corvane::controls {
class ActiveBar;
class Band;
class Control;
class Tool;
} // namespace corvane::controls

namespace corvane::app {

class ViewContext;

class ToolbarView : public QToolBar {
public:
    // A view of `bar` inside `parent`.
    ToolbarView(controls::ActiveBar& bar, ViewContext& context, QWidget* parent);

    // The button of a tool of the first band, or null (tests click it).
    QToolButton* button(const std::string& toolName) const;
    // The combo box of a combo tool, or null.
    QComboBox* combo(const std::string& toolName) const;
    // The menu action of a tool of a drop-down band, or null.
    QAction* menuAction(const std::string& toolName) const;

    // A command beside the tools: a button whose caption marks the first letter that no
    // command uses yet as its access key, listed in its tip as well.
    QAction* addCommand(const QString& caption, const QString& tip);

private:
    void assignAccessKeys(controls::Band& band);
    QChar takeAccessKey(const QString& words, bool initialsFirst);
    void addButton(controls::Tool& tool);
    void addCombo(controls::Tool& tool);
    QMenu* bandMenu(const std::string& bandName);
    void keepKeys(QAction* action);

    controls::ActiveBar& bar_;
    ViewContext& context_;
    std::map<std::string, QToolButton*> buttons_;
    std::map<std::string, QComboBox*> combos_;
    std::map<std::string, QAction*> menuActions_;
    std::map<std::string, QChar> accessKeys_; // Alt+letter of the tools that mark none
    QString takenKeys_;                       // the access keys in use, in lower case
};

// The factory registered for "ActiveBar".
QWidget* createToolbarView(controls::Control& control, QWidget* parent, ViewContext& context);

} // namespace corvane::app
