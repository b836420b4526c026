#include "vbide/CommandBars.h"

#include "vbruntime/VbError.h"

#include <algorithm>

namespace corvane::vbide {

void CommandBarControl::PasteFace() {
    auto clipboard = clipboard_.lock();
    auto picture = clipboard ? clipboard->GetData() : nullptr;
    if (!picture)
        throw VbError(vberr::InvalidCall, "The clipboard holds no picture to paste as the icon");
    face_ = std::move(picture);
}

void CommandBarControl::Delete() {
    if (!parent_)
        throw VbError(vberr::InvalidCall, "The menu entry '" + caption_ + "' was already removed");
    parent_->remove(*this);
}

void CommandBarControl::click() {
    bool handled = false;
    bool cancelDefault = false;
    auto self = shared_from_this(); // a handler may delete the entry
    std::erase_if(sources_, [](const auto& source) { return source.expired(); });
    auto sources = sources_;
    for (const auto& weak : sources)
        if (auto source = weak.lock())
            source->Click().raise(*this, handled, cancelDefault);
}

std::shared_ptr<CommandBarEvents> CommandBarControl::events() {
    auto source = std::make_shared<CommandBarEvents>();
    sources_.push_back(source);
    return source;
}

CommandBarControls::~CommandBarControls() {
    for (const auto& item : items_)
        item->parent_ = nullptr;
}

std::shared_ptr<CommandBarControl> CommandBarControls::Add(int type) {
    if (type != 1 && type != 10)
        throw VbError(vberr::InvalidCall, "Unsupported menu entry type " + std::to_string(type));
    auto control = std::make_shared<CommandBarControl>(type, clipboard_);
    control->parent_ = this;
    items_.push_back(control);
    return control;
}

std::shared_ptr<CommandBarControl> CommandBarControls::Item(int position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return items_[static_cast<size_t>(position - 1)];
}

void CommandBarControls::remove(CommandBarControl& control) {
    control.parent_ = nullptr;
    std::erase_if(items_, [&control](const auto& item) { return item.get() == &control; });
}

} // namespace corvane::vbide
