// GridColumn, GridColumns: the columns of the unbound grid.
//
// A column has a fixed number (its Index, from 1, the number the program addresses it by)
// and a display position (ColPosition, from 1) that decides where it is shown.
#pragma once

#include "controls/Event.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::controls {

class GridColumn {
public:
    GridColumn(int16_t index, std::string key);

    // The column's number, from 1.
    int16_t Index() const noexcept { return index_; }
    // The column's key ("HelpText").
    const std::string& Key() const noexcept { return key_; }
    // The name of the data field the column shows.
    const std::string& DataField() const noexcept { return dataField_; }
    void SetDataField(std::string field) { dataField_ = std::move(field); }
    // The header caption.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    // Width in twips (0: the grid's default width).
    int32_t Width() const noexcept { return width_; }
    void SetWidth(int32_t width);
    // Display position from 1 (the order on screen).
    int16_t ColPosition() const noexcept { return position_; }
    void SetColPosition(int16_t position);
    // Whether the user may edit the column's cells.
    bool EditAllowed() const noexcept { return editAllowed_; }
    void SetEditAllowed(bool allowed) { editAllowed_ = allowed; }

    // Raised after the caption, width or position changed (for views).
    Event<> Changed;

private:
    int16_t index_;
    std::string key_;
    std::string dataField_;
    std::string caption_;
    int32_t width_ = 0;
    int16_t position_;
    bool editAllowed_ = false;
};

class GridColumns {
public:
    // Number of columns.
    int16_t Count() const noexcept { return static_cast<int16_t>(columns_.size()); }
    // The column with that number (from 1); raises 9 when there is none.
    GridColumn& Item(int16_t index) const;
    // The column with that key (letter case ignored); raises 9 when there is none.
    GridColumn& Item(std::string_view key) const;
    // Appends a column; its number and display position are the new count.
    GridColumn& Add(std::string key);
    // The columns in display order.
    std::vector<GridColumn*> inDisplayOrder() const;

    auto begin() const { return columns_.begin(); }
    auto end() const { return columns_.end(); }

private:
    std::vector<std::unique_ptr<GridColumn>> columns_;
};

} // namespace corvane::controls
