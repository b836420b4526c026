#include "vbide/VBControl.h"

#include "support/VbError.h"

namespace corvane::vbide {

std::string VBControl::TypeName() const {
    size_t dot = progId_.rfind('.');
    return dot == std::string::npos ? progId_ : progId_.substr(dot + 1);
}

std::shared_ptr<VBControl> VBControls::Item(int position) const {
    if (position < 1 || position > Count())
        throw VbError(vberr::SubscriptOutOfRange);
    return items_[static_cast<size_t>(position - 1)];
}

} // namespace corvane::vbide
