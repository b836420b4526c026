#include "app/editor/CoverageStatus.h"

#include <algorithm>

#include "app/editor/ModuleListMark.h"
#include "app/views/FormWindow.h"
#include "app/views/GridView.h"
#include "cli/EditorTexts.h"
#include "editor/FrmWizard.h"
#include "editor/HelpGridColumn.h"
#include "settings/ModMain.h"

#include <QEvent>
#include <QListWidget>
#include <QTableView>
#include <QTimer>

namespace corvane::app {

namespace {


QString qtText(const std::string& value) { return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())); }

std::string countText(int withText, int controls) {
    return std::to_string(withText) + " of " + std::to_string(controls) + " controls have help text";
}

} // namespace

CoverageStatus::CoverageStatus(FrmWizard& editor, FormWindow& owner)
    : editor_(editor), owner_(owner), modules_(qobject_cast<QListWidget*>(owner.view("lbxModules"))) {
    setObjectName(QStringLiteral("CoverageStatus"));
    setContentsMargins(6, 1, 6, 1);
    setText(QStringLiteral(" "));
    owner.addStatusLine(this);
    if (auto* grid = dynamic_cast<GridView*>(owner.view("Grid"))) {
        gridRows_ = grid->table();
        gridRows_->viewport()->installEventFilter(this);
    }
    if (modules_)
        modules_->setItemDelegate(new ModuleListMark(modules_));
    auto later = [this] { refreshSoon(); };
    context_.connect(editor_.lbxModules().PropertyChanged, [this](std::string_view) { refreshSoon(); });
    context_.connect(editor_.Grid().Change, later);
    context_.connect(editor_.Grid().RowsChanged, later);
    context_.connect(editor_.Grid().UnboundUpdate, [this](int32_t, const Variant&, controls::GridRowValues&) { refreshSoon(); });
    context_.connect(editor_.txtHelpText().Change, later);
    context_.connect(editor_.ActiveBar().ComboSelChange, [this](controls::Tool&) { refreshSoon(); });
    context_.connect(editor_.ActiveBar().Click, [this](controls::Tool&) { refreshSoon(); });
    refresh();
}

CoverageStatus::~CoverageStatus() { context_.retire(); }

void CoverageStatus::retire() { context_.retire(); }

void CoverageStatus::refreshSoon() {
    if (pending_)
        return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] { refresh(); });
}

void CoverageStatus::refresh() {
    pending_ = false;
    if (!context_.live())
        return;
    exchange::CoverageReport report = countModules();
    setText(qtText(statusText(report)));
    markModules(report);
}

exchange::CoverageReport CoverageStatus::countModules() const {
    exchange::ProjectTexts project;
    const std::string& language = editor_.settings().mCurrentLanguage;
    if (const auto& forms = editor_.formsData())
        for (int32_t x = 1; x <= forms->Count(); ++x) {
            if (cli::isGoneModule(*forms->Item(x)))
                continue;
            project.modules.push_back(cli::moduleTexts(editor_.formNames()->Item(x), *forms->Item(x)));
            if (forms->Item(x) == editor_.currentForm())
                takeRowBeingEdited(project.modules.back(), language);
        }
    return exchange::computeCoverage(project, {language});
}

// The text typed into the current row reaches its record only when the row is left; until
// then the grid holds it, and the figure counts it from there.
void CoverageStatus::takeRowBeingEdited(exchange::ModuleTexts& module, const std::string& language) const {
    controls::Grid& grid = editor_.Grid();
    const auto& records = editor_.currentForm();
    int32_t index = grid.Row() >= 0 && grid.Row() < grid.ItemCount() ? grid.RowIndex(grid.Row()) : 0;
    if (!records || index < 1 || index > records->Count())
        return;
    // The row's control by name: records kept only for their text are no controls of the module.
    const std::string_view key = records->Item(index)->ControlName;
    auto control = std::find_if(module.controls.begin(), module.controls.end(),
                                [&](const exchange::ControlTexts& c) { return c.key == key; });
    if (control == module.controls.end())
        return;
    Variant cell = grid.Value(HelpGridColumn::HelpText);
    std::string typed = cell.isNull() ? std::string() : cell.toText();
    control->setText(language, typed);
}

std::string CoverageStatus::statusText(const exchange::CoverageReport& report) const {
    const std::string& language = editor_.settings().mCurrentLanguage;
    controls::ListBox& list = editor_.lbxModules();
    std::string selected = list.ListIndex() >= 0 ? list.List(list.ListIndex()) : std::string();
    for (const exchange::ModuleCoverage& module : report.modules)
        if (!selected.empty() && module.module == selected)
            return module.module + ", " + language + ": " + countText(module.withText, module.controls);
    const exchange::LanguageCoverage& total = report.languages.front();
    return "All modules, " + language + ": " + countText(total.withText, total.controls);
}

bool CoverageStatus::eventFilter(QObject* watched, QEvent* event) {
    // Decided once the resize is done: the window is laying its panes out now.
    if (event->type() == QEvent::Resize && gridRows_ && watched == gridRows_->viewport() && !layoutPending_) {
        layoutPending_ = true;
        QTimer::singleShot(0, this, [this] { giveWayToGrid(); });
    }
    return QLabel::eventFilter(watched, event);
}

// Shown while the grid keeps room for a whole row with the line below it.
void CoverageStatus::giveWayToGrid() {
    layoutPending_ = false;
    if (!context_.live() || !gridRows_->isVisible())
        return;
    int room = gridRows_->viewport()->height() + (isHidden() ? height() : 0);
    int row = gridRows_->sizeHintForRow(0) > 0 ? gridRows_->sizeHintForRow(0) : fontMetrics().height();
    owner_.showStatusLine(room - height() >= row);
}

void CoverageStatus::markModules(const exchange::CoverageReport& report) {
    if (!modules_)
        return;
    const std::string& language = editor_.settings().mCurrentLanguage;
    for (int row = 0; row < modules_->count(); ++row) {
        QListWidgetItem* item = modules_->item(row);
        std::string name = item->text().toStdString();
        int missing = 0;
        for (const exchange::ModuleCoverage& module : report.modules)
            if (module.module == name)
                missing = module.controls - module.withText;
        item->setData(ModuleListMark::MissingTextRole, missing);
        item->setToolTip(missing == 0 ? QString()
                                      : qtText(std::to_string(missing) + (missing == 1 ? " control has" : " controls have") +
                                             " no help text in " + language));
    }
}

} // namespace corvane::app
