// ComponentRegistry: creates components by their programmatic identifier, as CreateObject does.
//
// The program registers a factory per identifier at start (registerHeadlessErrorComponent, or
// the GUI's dialog component); every create() makes a fresh component. Identifiers compare
// without regard to letter case, like COM's. Tests swap in their own component for a while:
//   ScopedComponentRegistration scripted(ErrorComponentId, [] { return std::make_unique<My>(); });
#pragma once

#include "addin/ErrorReportComponent.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace corvane {

// Makes one component; may throw when the component cannot be made.
using ComponentFactory = std::function<std::unique_ptr<ErrorReportComponent>()>;

class ComponentRegistry {
public:
    // The program's registry.
    static ComponentRegistry& instance();

    // Registers (or replaces) the factory of an identifier.
    void registerFactory(std::string_view progId, ComponentFactory factory);
    // Removes the identifier's factory (nothing when it has none).
    void unregisterFactory(std::string_view progId);
    // The identifier's factory, or an empty one when it has none.
    ComponentFactory factory(std::string_view progId) const;
    // True when the identifier has a factory.
    bool isRegistered(std::string_view progId) const;

    // A fresh component; raises VbError 429 naming the identifier when it has no factory, or
    // when the factory fails or gives nothing (the factory's reason is in the description).
    std::unique_ptr<ErrorReportComponent> create(std::string_view progId) const;

private:
    std::map<std::string, ComponentFactory> factories_; // by folded identifier
};

// Registers a factory for the lifetime of this object and then restores the previous one.
class ScopedComponentRegistration {
public:
    // Registers `factory` under `progId` in the program's registry.
    ScopedComponentRegistration(std::string_view progId, ComponentFactory factory);
    ~ScopedComponentRegistration();
    ScopedComponentRegistration(const ScopedComponentRegistration&) = delete;
    ScopedComponentRegistration& operator=(const ScopedComponentRegistration&) = delete;

private:
    std::string progId_;
    ComponentFactory previous_;
};

} // namespace corvane
