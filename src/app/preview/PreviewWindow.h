// PreviewWindow: the editor's layout preview, a window of its own beside the editor, so that the
// editor's layout, splitters and stored layout values stay as they are whether it is open or
// not. A checkable "Preview" button on the editor's toolbar shows and hides it, as do its close
// box and Escape; it opens beside the editor, wholly on the screen. Its place and
// whether it was open are kept in the registry with the other window positions
// ("Software\Halvex\Corvane\WindowPosition_Preview": Left, Top, Width, Height in twips, and
// Visible). It shows the module selected in the editor, frames the control of the grid's
// current row, and a click on a control makes that control's row current. Controls whose
// geometry is missing or odd are listed under the picture; a designer that cannot be read is
// said so in the picture.
#pragma once

#include "app/preview/CoverageIndex.h"
#include "app/views/ViewContext.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QLabel;

namespace corvane {
class FrmWizard;
}

namespace corvane::app {

class FormWindow;
class PreviewCanvas;

class PreviewWindow : public QWidget {
    Q_OBJECT

public:
    // A preview of `editor`, owned by the editor's window; adds its button to the window's
    // toolbar and opens when it was open the last time.
    PreviewWindow(FrmWizard& editor, FormWindow& owner);
    ~PreviewWindow() override;

    // The picture.
    PreviewCanvas& canvas() const noexcept { return *canvas_; }
    // The toolbar button's action (checked while the window is open).
    QAction* toggleAction() const noexcept { return toggle_; }
    // The list of controls with odd geometry under the picture.
    QLabel& notes() const noexcept { return *notes_; }
    // Draws the module selected in the editor again.
    void refresh();
    // Makes the row of a picked item current in the editor's grid.
    void pick(int item);
    // Stores the place and cuts the preview off the editor: its form unloads.
    void retire();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addToolbarButton(FormWindow& owner);
    void showCurrentRow();
    void refreshCoverage();
    std::string hoverText(int item) const;
    void restorePlace();
    void storePlace(bool open) const;
    // Before showing: the stored place, or beside the editor (right of it where the screen has
    // room, else left, else over its left side clear of the Help Text column), moved and shrunk
    // so that the whole window, title bar included, is on the editor's screen.
    void placeOnScreen();
    QPoint besideEditor(const QRect& editor, const QRect& area, const QSize& frame);
    QRect helpTextColumn() const;

    // The narrowest the preview is made to keep clear of the Help Text column.
    static constexpr int MinimumWidth = 240;

    FrmWizard& editor_;
    ViewContext context_;
    PreviewCanvas* canvas_;
    QLabel* notes_;
    QPointer<QAction> toggle_;
    std::unique_ptr<CoverageIndex> coverage_;
    bool placed_ = false; // a place was stored or chosen
};

} // namespace corvane::app
