// Views of the simple controls: text box, check box, command button, label, image.
#include "app/views/AppIcons.h"
#include "app/views/CaptionLabel.h"
#include "app/views/ControlViews.h"
#include "app/views/ViewContext.h"
#include "controls/CheckBox.h"
#include "controls/CommandButton.h"
#include "controls/Image.h"
#include "controls/Label.h"
#include "controls/TextBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include <algorithm>

namespace corvane::app {

namespace {

// VB's text uses CR LF line breaks; Qt's editors use LF.
QString toView(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
std::string toModel(const QString& text) {
    return QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString();
}

// Qt's mnemonic marker is the same as VB's: "&File".
QString caption(const std::string& text) { return QString::fromStdString(text); }

// A locked box is read-only and looks it: the window's colour instead of the editing colour.
void showLocked(const controls::TextBox& box, QPlainTextEdit& edit) {
    edit.setReadOnly(box.Locked());
    QPalette palette = edit.palette();
    palette.setBrush(QPalette::Base, QApplication::palette().brush(box.Locked() ? QPalette::Window : QPalette::Base));
    edit.setPalette(palette);
}

// A character position of the model's text (CR LF line breaks) in the view's (LF).
int viewPosition(const std::string& modelText, int32_t position) {
    QString text = QString::fromStdString(modelText).left(position);
    return static_cast<int>(text.size() - text.count(QStringLiteral("\r\n")));
}

// Selects the model's selection (the word a spell check questions) in the view.
void showSelection(const controls::TextBox& box, QPlainTextEdit& edit) {
    int start = viewPosition(box.Text(), box.SelStart());
    int end = viewPosition(box.Text(), box.SelStart() + box.SelLength());
    QTextCursor cursor = edit.textCursor();
    int last = static_cast<int>(edit.document()->characterCount()) - 1;
    cursor.setPosition(std::clamp(start, 0, last));
    cursor.setPosition(std::clamp(end, 0, last), QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    edit.ensureCursorVisible();
}

// Ctrl+Tab types a tab character into a multi-line box; Tab alone moves the focus on.
class ControlTabTyping : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
        if (!keyEvent)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab || key->modifiers() != Qt::ControlModifier)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept(); // the box takes the key before any shortcut
            return true;
        }
        auto* edit = static_cast<QPlainTextEdit*>(watched);
        if (!edit->isReadOnly())
            edit->insertPlainText(QStringLiteral("\t"));
        return true;
    }
};

QWidget* multiLineView(controls::TextBox& box, QWidget* parent, ViewContext& context) {
    auto* edit = new QPlainTextEdit(parent);
    // As in VB's text boxes: Tab moves the focus, Ctrl+Tab types a tab.
    edit->setTabChangesFocus(true);
    edit->installEventFilter(new ControlTabTyping(edit));
    auto syncing = std::make_shared<bool>(false);
    auto show = [&box, edit, syncing] {
        if (*syncing || toModel(edit->toPlainText()) == box.Text())
            return;
        *syncing = true;
        edit->setPlainText(toView(box.Text()));
        *syncing = false;
    };
    show();
    showLocked(box, *edit);
    edit->setVerticalScrollBarPolicy((box.ScrollBars() & 2) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    edit->setLineWrapMode((box.ScrollBars() & 1) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    context.connect(box.PropertyChanged, [&box, edit, show](std::string_view property) {
        if (property == "Text")
            show();
        else if (property == "Locked")
            showLocked(box, *edit);
        else if (property == "SelStart" || property == "SelLength")
            showSelection(box, *edit);
    });
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [&box, edit, syncing, &context] {
        if (*syncing)
            return;
        *syncing = true;
        context.act([&] { box.SetText(toModel(edit->toPlainText())); });
        *syncing = false;
    });
    return edit;
}

QWidget* singleLineView(controls::TextBox& box, QWidget* parent, ViewContext& context) {
    auto* edit = new QLineEdit(QString::fromStdString(box.Text()), parent);
    edit->setReadOnly(box.Locked());
    context.connect(box.PropertyChanged, [&box, edit](std::string_view property) {
        if (property == "Text" && edit->text().toStdString() != box.Text())
            edit->setText(QString::fromStdString(box.Text()));
        else if (property == "Locked")
            edit->setReadOnly(box.Locked());
    });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&box, &context](const QString& text) {
        context.act([&] { box.SetText(text.toStdString()); });
    });
    return edit;
}

QWidget* textBoxView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& box = static_cast<controls::TextBox&>(control);
    return box.MultiLine() ? multiLineView(box, parent, context) : singleLineView(box, parent, context);
}

QWidget* checkBoxView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& box = static_cast<controls::CheckBox&>(control);
    auto* view = new QCheckBox(caption(box.Caption()), parent);
    view->setTristate(true);
    auto show = [&box, view] {
        view->setCheckState(box.Value() == controls::vbChecked   ? Qt::Checked
                            : box.Value() == controls::vbGrayed ? Qt::PartiallyChecked
                                                                 : Qt::Unchecked);
    };
    show();
    context.connect(box.PropertyChanged, [&box, view, show](std::string_view property) {
        if (property == "Value")
            show();
        else if (property == "Caption")
            view->setText(caption(box.Caption()));
    });
    // A click by the user toggles between checked and unchecked, as VB's check box does.
    QObject::connect(view, &QCheckBox::clicked, view, [&box, &context, show] {
        context.act([&] { box.SetValue(box.Value() == controls::vbChecked ? controls::vbUnchecked : controls::vbChecked); });
        if (context.live())
            show();
    });
    return view;
}

QWidget* buttonView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& button = static_cast<controls::CommandButton&>(control);
    auto* view = new QPushButton(caption(button.Caption()), parent);
    view->setDefault(button.Default());
    view->setAutoDefault(false);
    context.connect(button.PropertyChanged, [&button, view](std::string_view property) {
        if (property == "Caption")
            view->setText(caption(button.Caption()));
        else if (property == "Default")
            view->setDefault(button.Default());
    });
    QObject::connect(view, &QPushButton::clicked, view, [&button, &context] { context.act([&] { button.Click(); }); });
    return view;
}

QWidget* labelView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& label = static_cast<controls::Label&>(control);
    auto* view = new CaptionLabel(parent);
    view->setCaption(caption(label.Caption()));
    context.connect(label.PropertyChanged, [&label, view](std::string_view property) {
        if (property == "Caption")
            view->setCaption(caption(label.Caption()));
    });
    return view;
}

QWidget* imageView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& image = static_cast<controls::Image&>(control);
    auto* view = new QLabel(parent);
    auto show = [&image, view] {
        view->setScaledContents(image.Stretch());
        view->setPixmap(programPicture(image.Picture()));
    };
    show();
    context.connect(image.PropertyChanged, [show](std::string_view) { show(); });
    return view;
}

} // namespace

void registerStandardViews() {
    registerControlView("TextBox", textBoxView);
    registerControlView("CheckBox", checkBoxView);
    registerControlView("CommandButton", buttonView);
    registerControlView("Label", labelView);
    registerControlView("Image", imageView);
}

} // namespace corvane::app
