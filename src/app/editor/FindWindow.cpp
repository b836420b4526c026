#include "app/editor/FindWindow.h"

#include "app/views/FormWindow.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "settings/ModMain.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace corvane::app {

namespace {

QString text(std::string_view value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }

} // namespace

FindWindow::FindWindow(FrmWizard& editor, FormWindow& owner)
    : QWidget(&owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      editor_(editor), input_(new QLineEdit), outcome_(new QLabel) {
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Find"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Find:")));
    input_->setPlaceholderText(QStringLiteral("Help text, control name or caption"));
    row->addWidget(input_, 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    auto* next = new QPushButton(QStringLiteral("Find &Next"));
    auto* previous = new QPushButton(QStringLiteral("Find &Previous"));
    next->setToolTip(QStringLiteral("Enter, F3"));
    previous->setToolTip(QStringLiteral("Shift+Enter, Shift+F3"));
    buttons->addWidget(outcome_, 1);
    buttons->addWidget(previous);
    buttons->addWidget(next);
    layout->addLayout(buttons);
    connect(next, &QPushButton::clicked, this, [this] { find(true); });
    connect(previous, &QPushButton::clicked, this, [this] { find(false); });
    connect(input_, &QLineEdit::returnPressed, this, [this] {
        find(!(QApplication::keyboardModifiers() & Qt::ShiftModifier));
    });
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    // The editor's keys: Ctrl+F opens, F3 and Shift+F3 find on from the current row.
    auto addKey = [&owner, this](QKeySequence key, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        owner.addAction(action);
        addAction(action);
    };
    addKey(QKeySequence::Find, [this] { open(); });
    addKey(QKeySequence::FindNext, [this] { find(true); });
    addKey(QKeySequence::FindPrevious, [this] { find(false); });
    resize(380, sizeHint().height());
}

FindWindow::~FindWindow() { context_.retire(); }

void FindWindow::retire() {
    context_.retire();
    hide();
}

void FindWindow::open() {
    if (!context_.live())
        return;
    if (!isVisible()) {
        // Over the editor's top right corner, inside the screen.
        QWidget* owner = parentWidget();
        QRect editor = owner->frameGeometry();
        QPoint place(editor.right() - width() - 24, editor.top() + 60);
        if (QScreen* screen = owner->screen()) {
            QRect area = screen->availableGeometry();
            place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - width())));
            place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - height())));
        }
        move(place);
        show();
    }
    raise();
    activateWindow();
    input_->setFocus();
    input_->selectAll();
}

QString FindWindow::outcome() const { return outcome_->text(); }

int FindWindow::recordCount(int module) const {
    const auto& forms = editor_.formsData();
    const std::string name = editor_.lbxModules().List(module);
    return forms && forms->Contains(name) ? forms->Item(name)->Count() : 0;
}

std::optional<FindWindow::Place> FindWindow::currentPlace() const {
    controls::ListBox& list = editor_.lbxModules();
    if (list.ListIndex() < 0)
        return std::nullopt;
    Place place{list.ListIndex(), 0};
    controls::Grid& grid = editor_.Grid();
    auto records = editor_.currentForm();
    if (records && grid.Row() >= 0 && grid.Row() < grid.ItemCount()) {
        int32_t index = grid.RowIndex(grid.Row());
        if (index >= 1 && index <= records->Count())
            place.record = index;
    }
    return place;
}

bool FindWindow::matches(const Place& place, const QString& needle) const {
    const HelpItem& record = *editor_.formsData()->Item(editor_.lbxModules().List(place.module))->Item(place.record);
    for (const std::string_view value :
         {record.textIn(editor_.settings().mCurrentLanguage), std::string_view(record.ControlName),
          std::string_view(record.Caption)})
        if (text(value).contains(needle, Qt::CaseInsensitive))
            return true;
    return false;
}

bool FindWindow::find(bool forward) {
    const QString needle = input_->text();
    if (!context_.live() || !editor_.formsData())
        return false;
    if (needle.isEmpty()) {
        open();
        return false;
    }
    const int modules = editor_.lbxModules().ListCount();
    Place start = currentPlace().value_or(Place{0, 0});
    // Every record once, from the one after (or before) the current, wrapping at the ends.
    int steps = 2 * modules + 1; // a step onto each module's ends
    for (int m = 0; m < modules; ++m)
        steps += recordCount(m);
    Place place = start;
    for (int step = 0; step < steps; ++step) {
        if (forward) {
            if (++place.record > recordCount(place.module)) {
                place.module = (place.module + 1) % modules;
                place.record = 0;
                continue;
            }
        } else {
            if (--place.record < 1) {
                place.module = (place.module + modules - 1) % modules;
                place.record = recordCount(place.module) + 1;
                continue;
            }
        }
        if (!matches(place, needle))
            continue;
        const std::string module = editor_.lbxModules().List(place.module);
        const std::string control = editor_.formsData()->Item(module)->Item(place.record)->ControlName.str();
        bool shown = false;
        context_.act([&] { shown = editor_.showRecord(module, control); });
        showOutcome(shown ? text(module + "." + control) : text(module + "." + control + " (hidden in the grid)"));
        return shown;
    }
    showOutcome(QStringLiteral("\"") + needle + QStringLiteral("\" was not found"));
    return false;
}

void FindWindow::showOutcome(const QString& outcome) {
    outcome_->setText(outcome);
    setWindowTitle(QStringLiteral("Find - ") + outcome);
}

} // namespace corvane::app
