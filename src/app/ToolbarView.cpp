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

// The caption with the access key `key` marked ("&") before its first occurrence, unless the
// caption marks its own.
QString withAccessKey(const QString& caption, QChar key) {
    if (key.isNull() || caption.contains(QLatin1Char('&')))
        return caption;
    qsizetype at = caption.indexOf(key, 0, Qt::CaseInsensitive);
    return at < 0 ? caption : QString(caption).insert(at, QLatin1Char('&'));
}

// Shows a tool's caption, tip, state, keys and icon on an action.
void showTool(controls::Tool& tool, QAction& action, QChar accessKey = {}) {
    // A tool without a caption is a picture only; its tip names it for menus and readers.
    QString caption = withAccessKey(text(tool.Caption()), accessKey);
    QString name = !caption.isEmpty()               ? caption
                   : !tool.ToolTipText().empty() ? text(tool.ToolTipText())
                                                 : text(tool.Name());
    action.setText(name);
    action.setToolTip(text(tool.ToolTipText()));
    action.setCheckable(true);
    action.setChecked(tool.Checked());
    action.setEnabled(tool.Enabled());
    action.setIcon(toolIcon(tool.IconName().empty() ? tool.Name() : tool.IconName()));
    QList<QKeySequence> keys;
    if (!tool.ShortcutKey().empty())
        keys << QKeySequence(text(tool.ShortcutKey()));
    if (QKeySequence mnemonic = QKeySequence::mnemonic(caption); !mnemonic.isEmpty())
        keys << mnemonic;
    action.setShortcuts(keys);
}

// An access key for every captioned tool that marks none: the first letter of its caption
// that no other tool uses, so that Alt and that letter click it as in any dialog.
std::map<std::string, QChar> accessKeysOf(controls::Band& band) {
    QString taken;
    for (controls::Tool& tool : band.Tools()) {
        QKeySequence key = QKeySequence::mnemonic(text(tool.Caption()));
        if (!key.isEmpty())
            taken += QChar(key[0].key()).toLower();
    }
    std::map<std::string, QChar> keys;
    for (controls::Tool& tool : band.Tools()) {
        QString caption = text(tool.Caption());
        if (caption.contains(QLatin1Char('&')))
            continue;
        for (QChar letter : caption.toLower()) {
            if (letter.isLetterOrNumber() && !taken.contains(letter)) {
                taken += letter;
                keys[tool.Name()] = letter;
                break;
            }
        }
    }
    return keys;
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
    accessKeys_ = accessKeysOf(bar.Bands(0));
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
    QChar accessKey = accessKeys_[tool.Name()];
    auto showButton = [&tool, action, button, accessKey] {
        showTool(tool, *action, accessKey);
        bool pictureOnly = tool.Caption().empty() && !action->icon().isNull();
        button->setToolButtonStyle(pictureOnly ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    };
    showButton();
    // The model decides whether a tool is checked; a click only asks it.
    connect(action, &QAction::triggered, this, [this, &tool, showButton] {
        context_.act([&] { bar_.clickTool(tool); });
        if (context_.live())
            showButton();
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
