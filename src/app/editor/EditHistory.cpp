#include "app/editor/EditHistory.h"

#include "app/views/FormWindow.h"
#include "editor/FrmWizard.h"

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QUndoCommand>
#include <QUndoStack>

namespace corvane::app {

namespace {

// One help text edit; typing on in the same text merges into it.
class HelpTextCommand : public QUndoCommand {
public:
    HelpTextCommand(FrmWizard& editor, ViewContext& context, HelpTextEdit edit)
        : editor_(editor), context_(context), edit_(std::move(edit)) {
        setText(QString::fromStdString(edit_.module + "." + edit_.control));
    }

    int id() const override { return 1; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const HelpTextCommand*>(other);
        const HelpTextEdit& more = next->edit_;
        if (more.module != edit_.module || more.control != edit_.control || more.language != edit_.language ||
            more.before != edit_.after)
            return false;
        edit_.after = more.after;
        return true;
    }

    void undo() override { put(true); }

    void redo() override {
        if (std::exchange(done_, false))
            return; // pushed after the editor made the change
        put(false);
    }

private:
    void put(bool undo) {
        context_.act([&] { editor_.restoreHelpText(edit_, undo); });
    }

    FrmWizard& editor_;
    ViewContext& context_;
    HelpTextEdit edit_;
    bool done_ = true;
};

// The keys the help names, on every platform, and the platform's own for the command: Qt's
// keys for Redo at an X desktop are Ctrl+Shift+Z alone, not Ctrl+Y.
QList<QKeySequence> keysAnd(QList<QKeySequence> keys, QKeySequence::StandardKey command) {
    for (const QKeySequence& key : QKeySequence::keyBindings(command))
        if (!keys.contains(key))
            keys << key;
    return keys;
}

} // namespace

EditHistory::EditHistory(FrmWizard& editor, FormWindow& owner)
    : QObject(&owner), editor_(editor), stack_(new QUndoStack(this)) {
    setObjectName(QStringLiteral("EditHistory"));
    undo_ = stack_->createUndoAction(&owner, QStringLiteral("Undo"));
    undo_->setShortcuts(keysAnd({QKeySequence(Qt::CTRL | Qt::Key_Z)}, QKeySequence::Undo));
    redo_ = stack_->createRedoAction(&owner, QStringLiteral("Redo"));
    redo_->setShortcuts(
        keysAnd({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}, QKeySequence::Redo));
    for (QAction* action : {undo_, redo_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        owner.addAction(action);
    }
    context_.connect(editor_.helpTextEdited, [this](const HelpTextEdit& edit) {
        stack_->push(new HelpTextCommand(editor_, context_, edit));
    });
}

EditHistory::~EditHistory() { context_.retire(); }

void EditHistory::retire() {
    if (!context_.live())
        return;
    context_.retire();
    stack_->clear();
}

} // namespace corvane::app
