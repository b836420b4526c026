// XmlDocumentRef: shared ownership of one parsed pugixml document by the XMLDocument and the
// handles taken from it (elements, attributes, their collections and iterators).
//
// Reading a help data file copies a handle for every element and attribute it visits, a few
// hundred thousand copies for a large project. std::shared_ptr counts them with atomic
// instructions, each as costly as a cache miss; this count is a plain integer. A document and
// its handles are therefore used by one thread at a time, as the program's XML is (the window
// thread reads and writes it).
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <utility>

namespace corvane {

class XmlDocumentRef {
public:
    // No document.
    XmlDocumentRef() = default;
    // A new, empty document owned by the returned reference alone.
    static XmlDocumentRef make() {
        XmlDocumentRef ref;
        ref.owner_ = new Owner;
        return ref;
    }
    XmlDocumentRef(const XmlDocumentRef& other) noexcept : owner_(other.owner_) {
        if (owner_)
            ++owner_->references;
    }
    XmlDocumentRef(XmlDocumentRef&& other) noexcept : owner_(std::exchange(other.owner_, nullptr)) {}
    XmlDocumentRef& operator=(XmlDocumentRef other) noexcept {
        std::swap(owner_, other.owner_);
        return *this;
    }
    // Destroys the document when this was its last reference.
    ~XmlDocumentRef() {
        if (owner_ && --owner_->references == 0)
            delete owner_;
    }

    // The document (there must be one).
    pugi::xml_document& operator*() const noexcept { return owner_->document; }
    pugi::xml_document* operator->() const noexcept { return &owner_->document; }
    // True when the reference holds a document.
    explicit operator bool() const noexcept { return owner_ != nullptr; }

private:
    struct Owner {
        pugi::xml_document document;
        size_t references = 1;
    };
    Owner* owner_ = nullptr;
};

} // namespace corvane
