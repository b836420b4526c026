#include "addin/ComponentRegistry.h"

#include "vbruntime/CaseFold.h"
#include "vbruntime/VbError.h"

namespace corvane {

namespace {
VbError cannotCreate(std::string_view progId, std::string_view reason) {
    std::string description = standardDescription(vberr::CannotCreateObject) + " '" + std::string(progId) + "'";
    if (!reason.empty())
        description += ": " + std::string(reason);
    return VbError(vberr::CannotCreateObject, description, std::string(progId));
}
} // namespace

ComponentRegistry& ComponentRegistry::instance() {
    static ComponentRegistry registry;
    return registry;
}

void ComponentRegistry::registerFactory(std::string_view progId, ComponentFactory factory) {
    factories_[foldCase(progId)] = std::move(factory);
}

void ComponentRegistry::unregisterFactory(std::string_view progId) { factories_.erase(foldCase(progId)); }

ComponentFactory ComponentRegistry::factory(std::string_view progId) const {
    auto it = factories_.find(foldCase(progId));
    return it == factories_.end() ? ComponentFactory() : it->second;
}

bool ComponentRegistry::isRegistered(std::string_view progId) const {
    auto it = factories_.find(foldCase(progId));
    return it != factories_.end() && it->second;
}

std::unique_ptr<ErrorReportComponent> ComponentRegistry::create(std::string_view progId) const {
    auto it = factories_.find(foldCase(progId));
    if (it == factories_.end() || !it->second)
        throw cannotCreate(progId, "no component is registered under this identifier");
    std::unique_ptr<ErrorReportComponent> component;
    try {
        component = it->second();
    } catch (const VbError& error) {
        throw cannotCreate(progId, error.description());
    } catch (const std::exception& error) {
        throw cannotCreate(progId, error.what());
    }
    if (!component)
        throw cannotCreate(progId, "the component's factory gave nothing");
    return component;
}

ScopedComponentRegistration::ScopedComponentRegistration(std::string_view progId, ComponentFactory factory)
    : progId_(progId), previous_(ComponentRegistry::instance().factory(progId)) {
    ComponentRegistry::instance().registerFactory(progId_, std::move(factory));
}

ScopedComponentRegistration::~ScopedComponentRegistration() {
    if (previous_)
        ComponentRegistry::instance().registerFactory(progId_, std::move(previous_));
    else
        ComponentRegistry::instance().unregisterFactory(progId_);
}

} // namespace corvane
