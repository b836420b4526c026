// GroupByArea: the strip above the grid's table that shows the grouping levels, or the
// grid's hint when there are none. A column header dropped on it adds a grouping level;
// a double click removes every level; the context menu removes one level or all.
#pragma once

#include <QFrame>

class QLabel;
class QMenu;

namespace corvane::controls {
class Grid;
}

namespace corvane::app {

class ViewContext;

class GroupByArea : public QFrame {
public:
    // The area of `grid` inside `parent`.
    GroupByArea(controls::Grid& grid, ViewContext& context, QWidget* parent);

    // Adds a grouping level by a grid column (what a dropped header does); nothing when the
    // column already is a level.
    void dropColumn(int16_t column);
    // The text shown (the levels' captions joined by " > ", or the hint).
    QString shownText() const;
    // Removes the grouping level at a position from 1, or every level for 0.
    void removeLevel(int32_t position);
    // The context menu: one entry per level that removes it, and one that removes all.
    QMenu* levelMenu();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showLevels();

    controls::Grid& grid_;
    ViewContext& context_;
    QLabel* label_;
};

} // namespace corvane::app
