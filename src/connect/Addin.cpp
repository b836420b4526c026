#include "connect/Addin.h"

#include "editor/FrmWizard.h"

namespace corvane {

Addin::Addin() = default;

Addin::~Addin() {
    // The editor window goes before the settings it refers to.
    editor_.window.reset();
}

void Addin::load() { modMain_.main(); }

void Addin::connect(std::shared_ptr<vbide::VBE> vbe, int32_t connectMode) {
    wizard_ = std::make_unique<Wizard>(modMain_, editor_);
    wizard_->IDTExtensibility_OnConnection(std::move(vbe), connectMode);
}

void Addin::disconnect() {
    if (wizard_)
        wizard_->IDTExtensibility_OnDisconnection(0);
}

} // namespace corvane
