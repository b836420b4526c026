#include "app/preview/PreviewWindow.h"

#include "app/preview/PreviewCanvas.h"
#include "app/views/FormWindow.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "app/views/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "preview/SketchBuilder.h"
#include "registry/RegistryAccess.h"
#include "settings/ModMain.h"
#include "vbide/VBProject.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <iostream>

namespace corvane::app {

namespace {

const char* const PlaceKey = "Software\\Halvex\\Corvane\\WindowPosition_Preview";
constexpr int MaxNotes = 12; // odd controls listed under the picture; the rest are counted

QString text(const std::string& value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }

std::string notesOf(const preview::FormSketch& sketch) {
    std::string notes;
    int listed = 0;
    for (const preview::Oddity& oddity : sketch.oddities) {
        if (listed++ == MaxNotes) {
            notes += "\n... and " + std::to_string(sketch.oddities.size() - MaxNotes) + " more";
            break;
        }
        notes += (notes.empty() ? "" : "\n") + oddity.key + ": " + oddity.problem;
    }
    return notes;
}

} // namespace

PreviewWindow::PreviewWindow(FrmWizard& editor, FormWindow& owner)
    : QWidget(&owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      editor_(editor), canvas_(new PreviewCanvas), notes_(new QLabel) {
    setObjectName(QStringLiteral("Preview"));
    setWindowTitle(QStringLiteral("Preview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(canvas_, 1);
    notes_->setWordWrap(true);
    notes_->setStyleSheet(QStringLiteral("color: #a00000"));
    layout->addWidget(notes_);
    canvas_->setPickHandler([this](int item) { pick(item); });
    canvas_->setHoverText([this](int item) { return hoverText(item); });
    context_.connect(editor_.lbxModules().Click, [this] { refresh(); });
    context_.connect(editor_.Grid().RowColChange, [this](const Variant&, int16_t) { showCurrentRow(); });
    context_.connect(editor_.Grid().Change, [this] { canvas_->update(); });
    context_.connect(editor_.Grid().RowsChanged, [this] { showCurrentRow(); });
    addToolbarButton(owner);
    auto* closing = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closing, &QShortcut::activated, this, &QWidget::close);
    restorePlace();
}

PreviewWindow::~PreviewWindow() { context_.retire(); }

void PreviewWindow::addToolbarButton(FormWindow& owner) {
    auto* bar = owner.findChild<ToolbarView*>();
    if (!bar)
        return;
    bar->addSeparator();
    toggle_ = bar->addCommand(QStringLiteral("Preview"), QStringLiteral("Show the layout of the selected module"));
    toggle_->setObjectName(QStringLiteral("preview"));
    toggle_->setCheckable(true);
    connect(toggle_, &QAction::toggled, this, [this](bool open) {
        if (open == isVisible())
            return;
        if (open) {
            ViewContext context; // the text being typed counts: the sketch shows it
            context.act([this] { editor_.commitPendingEdit(); });
            placeOnScreen();
        }
        setVisible(open);
        storePlace(open);
    });
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (toggle_)
        toggle_->setChecked(true);
    refresh();
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (toggle_)
        toggle_->setChecked(false);
    storePlace(false);
}

void PreviewWindow::retire() {
    if (!context_.live())
        return;
    storePlace(isVisible());
    context_.retire();
    hide();
}

void PreviewWindow::refresh() {
    if (!context_.live() || !isVisible())
        return; // drawn when shown
    preview::FormSketch sketch;
    controls::ListBox& modules = editor_.lbxModules();
    auto project = editor_.VBP();
    std::string module = modules.ListIndex() >= 0 ? modules.List(modules.ListIndex()) : std::string();
    if (module.empty() || !project || !project->VBComponents().Contains(module)) {
        sketch.unreadable = "Select a module to see its layout.";
    } else {
        sketch = preview::SketchBuilder(project.get()).build(*project->VBComponents().Item(module));
    }
    setWindowTitle(QStringLiteral("Preview - ") + text(module));
    canvas_->setSketch(std::move(sketch));
    notes_->setText(text(notesOf(canvas_->sketch())));
    notes_->setVisible(!canvas_->sketch().oddities.empty());
    refreshCoverage();
    showCurrentRow();
}

void PreviewWindow::refreshCoverage() {
    coverage_ = std::make_unique<CoverageIndex>(editor_.currentForm().get(), editor_.settings().mCurrentLanguage);
    canvas_->setCoverage([this](const preview::SketchItem& item) { return coverage_->coverageOf(item); },
                         coverage_->language());
}

void PreviewWindow::showCurrentRow() {
    if (!context_.live() || !isVisible() || !coverage_)
        return;
    if (coverage_->language() != editor_.settings().mCurrentLanguage)
        refreshCoverage();
    controls::Grid& grid = editor_.Grid();
    auto records = editor_.currentForm();
    int item = -1;
    if (records && grid.Row() >= 0 && grid.Row() < grid.ItemCount()) {
        int32_t index = grid.RowIndex(grid.Row());
        if (index >= 1 && index <= records->Count())
            item = canvas_->sketch().itemOf(records->Item(index)->Control().get());
    }
    canvas_->highlight(item);
}

void PreviewWindow::pick(int item) {
    if (!coverage_ || item < 0)
        return;
    int32_t index = coverage_->recordIndexOf(canvas_->sketch().items[static_cast<size_t>(item)]);
    if (index == 0)
        return; // a line, a shape, a menu ... has no row
    context_.act([&] {
        controls::Grid& grid = editor_.Grid();
        for (int32_t position = 0; position < grid.ItemCount(); ++position)
            if (grid.RowIndex(position) == index) {
                grid.SetRow(position);
                return;
            }
    });
}

std::string PreviewWindow::hoverText(int item) const {
    const preview::SketchItem& shown = canvas_->sketch().items[static_cast<size_t>(item)];
    std::string result = shown.key + " (" + shown.typeName + ")";
    const HelpItem* record = coverage_ ? coverage_->recordOf(shown) : nullptr;
    if (!record)
        return result;
    const std::string_view help = record->textIn(coverage_->language());
    return result + "\n" + (help.empty() ? "No help text in " + coverage_->language() + " yet." : std::string(help));
}

void PreviewWindow::restorePlace() {
    resize(560, 440);
    try {
        RegistryAccess& reg = registry();
        auto value = [&](const char* name) { return reg.GetValue(RegistryRoot::CurrentUser, PlaceKey, name); };
        std::string left = value("Left");
        if (!left.empty()) {
            // The place is the frame's (as stored), the size the window's inside.
            resize(std::max(160, ViewContext::toPixelsX(std::stoi(value("Width")))),
                   std::max(120, ViewContext::toPixelsY(std::stoi(value("Height")))));
            move(ViewContext::toPixelsX(std::stoi(left)), ViewContext::toPixelsY(std::stoi(value("Top"))));
            placed_ = true;
        }
        if (value("Visible") == "1" && toggle_)
            toggle_->setChecked(true);
    } catch (const std::exception& error) {
        std::cerr << "corvane: the preview's stored place is not used: " << error.what() << "\n";
    }
}

void PreviewWindow::placeOnScreen() {
    QWidget* owner = parentWidget();
    QScreen* screen = owner ? owner->screen() : this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Before the first show the frame is not known yet: the editor's stands in for it.
    QSize frame = isVisible() || !owner ? frameGeometry().size() - size() : owner->frameGeometry().size() - owner->size();
    resize(size().boundedTo(area.size() - frame));
    const QSize outer = size() + frame;
    QPoint place = pos();
    if (!placed_ && owner)
        place = besideEditor(owner->frameGeometry(), area, frame);
    place.setX(std::clamp(place.x(), area.left(), area.right() + 1 - outer.width()));
    place.setY(std::clamp(place.y(), area.top(), area.bottom() + 1 - outer.height()));
    move(place);
    placed_ = true;
}

// Beside the editor where the screen has room; otherwise over the editor's left side (the
// module list and the first columns), narrowed to end before the Help Text column, which the
// user reads and types beside the sketch.
QPoint PreviewWindow::besideEditor(const QRect& editor, const QRect& area, const QSize& frame) {
    const QSize outer = size() + frame;
    if (area.right() - editor.right() >= outer.width())
        return {editor.right() + 1, editor.top()};
    if (editor.left() - area.left() >= outer.width())
        return {editor.left() - outer.width(), editor.top()};
    const QRect text = helpTextColumn();
    const int left = std::max(area.left(), editor.left());
    if (text.isValid() && text.left() > left) {
        const int room = text.left() - left - frame.width();
        if (room >= MinimumWidth && room < width())
            resize(room, height());
    }
    return {left, editor.top()};
}

// The Help Text column of the editor's table on the screen (invalid when not shown).
QRect PreviewWindow::helpTextColumn() const {
    auto* owner = dynamic_cast<FormWindow*>(parentWidget());
    auto* grid = owner ? dynamic_cast<GridView*>(owner->view("Grid")) : nullptr;
    if (!grid || !grid->table()->isVisible())
        return {};
    QTableView* table = grid->table();
    const int column = grid->model()->modelColumn(HelpGridColumn::HelpText);
    if (column < 0)
        return {};
    const int x = table->columnViewportPosition(column);
    const QPoint topLeft = table->viewport()->mapToGlobal(QPoint(x, 0));
    return {topLeft, QSize(table->columnWidth(column), table->viewport()->height())};
}

void PreviewWindow::storePlace(bool open) const {
    try {
        RegistryAccess& reg = registry();
        auto set = [&](const char* name, int32_t number) {
            reg.SetValue(RegistryRoot::CurrentUser, PlaceKey, name, std::to_string(number));
        };
        set("Left", ViewContext::toTwipsX(x()));
        set("Top", ViewContext::toTwipsY(y()));
        set("Width", ViewContext::toTwipsX(width()));
        set("Height", ViewContext::toTwipsY(height()));
        set("Visible", open ? 1 : 0);
    } catch (const std::exception& error) {
        std::cerr << "corvane: the preview's place was not stored: " << error.what() << "\n";
    }
}

} // namespace corvane::app
