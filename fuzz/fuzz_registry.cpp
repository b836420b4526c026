// Fuzzes the registry file reader: any input either parses or raises VbError 75; what parsed
// writes out as text that reads back to the same store (the written text is a fixed point).
#include "registry/RegFile.h"
#include "vbruntime/VbError.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace corvane;

void touchValues(const RegistryKey& key) {
    for (const RegistryValue& value : key.values())
        if (!value.isString)
            (void)rawValueText(value.data);
    for (const RegistryKey& subKey : key.subKeys())
        touchValues(subKey);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    RegistryModel model;
    try {
        model = parseRegistryText(bytes, "fuzz.reg");
    } catch (const VbError& error) {
        if (error.number() != vberr::PathFileAccess)
            std::abort();
        return 0;
    }
    for (const RegistryKey& root : model.roots())
        touchValues(root);
    std::string text = registryText(model);
    RegistryModel again = parseRegistryText(text, "written.reg"); // must not throw
    if (registryText(again) != text)
        std::abort();
    return 0;
}
