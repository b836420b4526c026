// Views of the list controls: list box and combo box. The view shows the model's lines and
// current line; the user's choice goes into ListIndex (or Selected), which raises Click.
#include "app/views/ControlViews.h"
#include "app/views/ViewContext.h"
#include "controls/ComboBox.h"
#include "controls/ListBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace corvane::app {

namespace {

// Refreshes a list widget from the model without raising the widget's own signals.
void showListBox(controls::ListBox& list, QListWidget& view) {
    QSignalBlocker blocker(view);
    if (view.count() != list.ListCount()) {
        view.clear();
        for (int32_t i = 0; i < list.ListCount(); ++i)
            view.addItem(QString::fromStdString(list.List(i)));
    } else {
        for (int32_t i = 0; i < list.ListCount(); ++i)
            view.item(i)->setText(QString::fromStdString(list.List(i)));
    }
    view.setCurrentRow(list.ListIndex(), QItemSelectionModel::NoUpdate);
    for (int32_t i = 0; i < list.ListCount(); ++i)
        view.item(i)->setSelected(list.MultiSelect() == 0 ? i == list.ListIndex() : list.Selected(i));
}

QWidget* listBoxView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& list = static_cast<controls::ListBox&>(control);
    auto* view = new QListWidget(parent);
    view->setSelectionMode(list.MultiSelect() == 0   ? QAbstractItemView::SingleSelection
                           : list.MultiSelect() == 1 ? QAbstractItemView::MultiSelection
                                                     : QAbstractItemView::ExtendedSelection);
    showListBox(list, *view);
    context.connect(list.PropertyChanged, [&list, view](std::string_view property) {
        if (property == "List" || property == "ListIndex" || property == "Selected" || property == "MultiSelect")
            showListBox(list, *view);
    });
    QObject::connect(view, &QListWidget::currentRowChanged, view, [&list, view, &context](int row) {
        context.act([&] {
            if (row != list.ListIndex())
                list.SetListIndex(row);
        });
        if (context.live())
            showListBox(list, *view);
    });
    QObject::connect(view, &QListWidget::itemSelectionChanged, view, [&list, view, &context] {
        if (list.MultiSelect() == 0)
            return;
        context.act([&] {
            for (int32_t i = 0; i < list.ListCount() && i < view->count(); ++i)
                if (view->item(i)->isSelected() != list.Selected(i))
                    list.SetSelected(i, view->item(i)->isSelected());
        });
    });
    return view;
}

void showComboBox(controls::ComboBox& combo, QComboBox& view) {
    QSignalBlocker blocker(view);
    view.clear();
    for (int32_t i = 0; i < combo.ListCount(); ++i)
        view.addItem(QString::fromStdString(combo.List(i)));
    view.setCurrentIndex(combo.ListIndex());
    if (view.isEditable())
        view.setEditText(QString::fromStdString(combo.Text()));
}

QWidget* comboBoxView(controls::Control& control, QWidget* parent, ViewContext& context) {
    auto& combo = static_cast<controls::ComboBox&>(control);
    auto* view = new QComboBox(parent);
    view->setEditable(combo.Style() != controls::vbComboDropdownList);
    showComboBox(combo, *view);
    context.connect(combo.PropertyChanged, [&combo, view](std::string_view property) {
        if (property == "List" || property == "ListIndex" || property == "Text")
            showComboBox(combo, *view);
    });
    QObject::connect(view, &QComboBox::activated, view, [&combo, &context](int index) {
        context.act([&] { combo.SetListIndex(index); });
    });
    if (view->isEditable()) {
        QObject::connect(view->lineEdit(), &QLineEdit::textEdited, view, [&combo, &context](const QString& text) {
            context.act([&] { combo.SetText(text.toStdString()); });
        });
    }
    return view;
}

} // namespace

void registerListViews() {
    registerControlView("ListBox", listBoxView);
    registerControlView("ComboBox", comboBoxView);
}

} // namespace corvane::app
