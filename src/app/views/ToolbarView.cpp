#include "app/views/ToolbarView.h"

#include "app/views/AppIcons.h"
#include "app/views/ViewContext.h"
#include "controls/ActiveBar.h"

#include <QComboBox>
#include <QMenu>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>

namespace corvane::app {

namespace {

// A tool button that shows its action's caption with the access key underlined, as a dialog's
// buttons do, without taking the key itself: the action holds it, and clicks at once.
class AccessKeyButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        if (defaultAction() && defaultAction()->text().contains(QLatin1Char('&')) && !option.text.isEmpty())
            option.text = defaultAction()->text();
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }
};

QString text(const std::string& value) { return QString::fromStdString(value); }

// The caption with the access key `key` marked ("&") before its first occurrence, unless the
// caption marks its own.
QString withAccessKey(const QString& caption, QChar key) {
    if (key.isNull() || caption.contains(QLatin1Char('&')))
        return caption;
    qsizetype at = caption.indexOf(key, 0, Qt::CaseInsensitive);
    return at < 0 ? caption : QString(caption).insert(at, QLatin1Char('&'));
}

// The letter a caption marks with "&" (null when none).
QChar markedLetter(const QString& caption) {
    QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    return mnemonic.isEmpty() ? QChar() : QChar(mnemonic[0].key() & ~Qt::KeyboardModifierMask).toLower();
}

// Shows a tool's caption, tip, state, keys and icon on an action. A captioned tool's access
// key is marked in its caption; a picture's (`accessKey`) only in its tip. The tip lists
// every key that runs the tool.
void showTool(controls::Tool& tool, QAction& action, QChar accessKey = {}) {
    // A tool without a caption is a picture only; its tip names it for menus and readers.
    QString caption = withAccessKey(text(tool.Caption()), accessKey);
    QString tip = text(tool.ToolTipText());
    QString name = !caption.isEmpty() ? caption : !tip.isEmpty() ? tip : text(tool.Name());
    QChar letter = caption.isEmpty() ? accessKey : markedLetter(caption);
    QList<QKeySequence> keys;
    QStringList keyNames;
    if (!tool.ShortcutKey().empty()) {
        keys << QKeySequence(text(tool.ShortcutKey()));
        if (!tip.contains(text(tool.ShortcutKey())))
            keyNames << text(tool.ShortcutKey());
    }
    if (!letter.isNull()) {
        keys << QKeySequence(QStringLiteral("Alt+") + letter.toUpper());
        keyNames << QStringLiteral("Alt+") + letter.toUpper();
    }
    if (tip.isEmpty() && !keyNames.isEmpty())
        tip = QString(name).remove(QLatin1Char('&'));
    action.setText(name);
    action.setToolTip(keyNames.isEmpty() ? tip : tip + QStringLiteral(" (") + keyNames.join(QStringLiteral(", ")) + QLatin1Char(')'));
    action.setCheckable(true);
    action.setChecked(tool.Checked());
    action.setEnabled(tool.Enabled());
    action.setIcon(toolIcon(tool.IconName().empty() ? tool.Name() : tool.IconName()));
    action.setShortcuts(keys);
}

// The letters of `words` in the order an access key is looked for: the words' first letters
// first when `initialsFirst`, then every letter.
QString candidateLetters(const QString& words, bool initialsFirst) {
    QString letters;
    if (initialsFirst)
        for (const QString& word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            letters += word.front();
    return (letters + words).toLower();
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
    assignAccessKeys(bar.Bands(0));
    for (controls::Tool& tool : bar.Bands(0).Tools()) {
        if (tool.Type() == controls::ToolType::ComboBox)
            addCombo(tool);
        else
            addButton(tool);
    }
}

void ToolbarView::addButton(controls::Tool& tool) {
    auto* action = new QAction(this);
    auto* button = new AccessKeyButton(this);
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
    keepKeys(action);
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
        keepKeys(action);
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

// An access key for every command that marks none, so that Alt and that letter click it as in
// any dialog: for a captioned tool the first letter of its caption that no other tool uses;
// for a picture without a shortcut the first free initial of its tip's words.
void ToolbarView::assignAccessKeys(controls::Band& band) {
    for (controls::Tool& tool : band.Tools())
        if (QChar marked = markedLetter(text(tool.Caption())); !marked.isNull())
            takenKeys_ += marked;
    for (controls::Tool& tool : band.Tools())
        if (!tool.Caption().empty() && !text(tool.Caption()).contains(QLatin1Char('&')))
            accessKeys_[tool.Name()] = takeAccessKey(text(tool.Caption()), false);
    for (controls::Tool& tool : band.Tools())
        if (tool.Caption().empty() && tool.ShortcutKey().empty() && tool.Type() != controls::ToolType::ComboBox)
            accessKeys_[tool.Name()] = takeAccessKey(text(tool.ToolTipText()), true);
}

QChar ToolbarView::takeAccessKey(const QString& words, bool initialsFirst) {
    for (QChar letter : candidateLetters(words, initialsFirst)) {
        if (letter.isLetterOrNumber() && !takenKeys_.contains(letter)) {
            takenKeys_ += letter;
            return letter;
        }
    }
    return {};
}

QAction* ToolbarView::addCommand(const QString& caption, const QString& tip) {
    QChar key = takeAccessKey(caption, false);
    auto* action = new QAction(withAccessKey(caption, key), this);
    QString keyName = QStringLiteral("Alt+") + key.toUpper();
    if (!key.isNull())
        action->setShortcut(QKeySequence(keyName));
    action->setToolTip(key.isNull() ? tip : tip + QStringLiteral(" (") + keyName + QLatin1Char(')'));
    keepKeys(action);
    auto* button = new AccessKeyButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addWidget(button);
    return action;
}

// A button that a narrow window leaves out of the bar (into its "more" menu) is hidden, and a
// hidden widget's actions take no keys: the window holds the action too, so that its Alt
// letter and shortcut work wherever the button is.
void ToolbarView::keepKeys(QAction* action) {
    if (QWidget* holder = parentWidget())
        holder->addAction(action);
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
