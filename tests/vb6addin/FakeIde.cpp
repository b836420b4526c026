#include "vb6addin/FakeIde.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace corvane::vbaddin::testing {

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void returnText(VARIANT* result, const std::wstring& text) {
    if (result) {
        result->vt = VT_BSTR;
        result->bstrVal = ::SysAllocString(text.c_str());
    }
}

void returnNumber(VARIANT* result, long number, VARTYPE type = VT_I4) {
    if (result) {
        result->vt = type;
        if (type == VT_BOOL)
            result->boolVal = number ? VARIANT_TRUE : VARIANT_FALSE;
        else
            result->lVal = number;
    }
}

long numberOf(const VARIANT* value) {
    VARIANT converted;
    ::VariantInit(&converted);
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(value), 0, VT_I4)))
        return -1;
    return converted.lVal;
}

std::wstring textOf(const VARIANT* value) {
    return value->vt == VT_BSTR && value->bstrVal ? std::wstring(value->bstrVal) : std::wstring();
}

SIZE clipboardBitmapSize() {
    SIZE size{0, 0};
    if (!::OpenClipboard(nullptr))
        return size;
    if (HANDLE bitmap = ::GetClipboardData(CF_BITMAP)) {
        BITMAP header{};
        if (::GetObjectW(bitmap, sizeof header, &header))
            size = {header.bmWidth, header.bmHeight};
    }
    ::CloseClipboard();
    return size;
}

} // namespace

FakeIde::FakeIde(HWND window, const std::vector<bool>& groups) : windowHandle_(window) {
    vbe_ = std::make_unique<FakeDispatch>(L"VBE", log);
    bars_ = std::make_unique<FakeDispatch>(L"CommandBars", log);
    menu_ = std::make_unique<FakeDispatch>(L"AddIns", log);
    controls_ = std::make_unique<FakeDispatch>(L"Controls", log);
    events_ = std::make_unique<FakeDispatch>(L"Events", log);
    window_ = std::make_unique<FakeDispatch>(L"MainWindow", log);
    for (bool group : groups)
        addEntry(group);
    vbe_->objectProperty(L"CommandBars", [this] { return bars_.get(); });
    vbe_->objectProperty(L"Events", [this] { return events_.get(); });
    vbe_->objectProperty(L"MainWindow", [this] { return window_.get(); });
    vbe_->objectProperty(L"ActiveVBProject", [this] { return projectOpen_ ? project_.get() : nullptr; });
    window_->member(L"HWnd", [this](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnNumber(result, static_cast<long>(reinterpret_cast<INT_PTR>(windowHandle_)));
        return S_OK;
    });
    bars_->member(L"Item", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        if (arguments.size() != 1 || textOf(arguments[0]) != L"Add-Ins")
            return DISP_E_BADINDEX;
        returnObject(result, menu_.get());
        return S_OK;
    });
    menu_->objectProperty(L"Controls", [this] { return controls_.get(); });
    controls_->member(L"Add", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        if (arguments.size() != 1 || numberOf(arguments[0]) != 1)
            return E_INVALIDARG; // the add-in adds a plain button, type 1
        returnObject(result, addEntry(false).object.get());
        return S_OK;
    });
    controls_->member(L"Count", [this](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        long count = 0;
        for (const auto& entry : entries_)
            count += entry->deleted ? 0 : 1;
        returnNumber(result, count);
        return S_OK;
    });
    controls_->member(L"Item", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        FakeDispatch* entry = arguments.size() == 1 ? entryAt(numberOf(arguments[0])) : nullptr;
        if (!entry)
            return DISP_E_BADINDEX;
        returnObject(result, entry);
        return S_OK;
    });
    events_->member(L"CommandBarEvents", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        if (arguments.size() != 1 || arguments[0]->vt != VT_DISPATCH)
            return DISP_E_TYPEMISMATCH;
        for (const auto& entry : entries_)
            if (entry->object.get() == arguments[0]->pdispVal && !entry->deleted) {
                if (!entry->events)
                    entry->events = std::make_unique<FakeEventSource>(entry->object->name() + L"Events", log);
                returnObject(result, static_cast<FakeDispatch*>(entry->events.get()));
                return S_OK;
            }
        return E_INVALIDARG;
    });
    makeProjectObjects();
}

FakeIde::~FakeIde() {
    for (auto& entry : entries_)
        for (VARIANT* value : {&entry->caption, &entry->beginGroup, &entry->onAction})
            ::VariantClear(value);
    ::VariantClear(&helpFile_);
}

FakeMenuEntry& FakeIde::addEntry(bool group) {
    auto entry = std::make_unique<FakeMenuEntry>();
    FakeMenuEntry& added = *entry;
    added.object = std::make_unique<FakeDispatch>(L"Entry" + std::to_wstring(entries_.size() + 1), log);
    added.beginGroup.vt = VT_BOOL;
    added.beginGroup.boolVal = group ? VARIANT_TRUE : VARIANT_FALSE;
    added.object->valueProperty(L"Caption", &added.caption);
    added.object->valueProperty(L"BeginGroup", &added.beginGroup);
    added.object->valueProperty(L"OnAction", &added.onAction);
    added.object->member(L"PasteFace", [&added](WORD, const std::vector<VARIANT*>&, VARIANT*) {
        added.pastedFace = clipboardBitmapSize();
        return S_OK;
    });
    added.object->member(L"Delete", [&added](WORD, const std::vector<VARIANT*>&, VARIANT*) {
        if (added.deleted)
            return E_FAIL;
        added.deleted = true;
        return S_OK;
    });
    entries_.push_back(std::move(entry));
    return added;
}

FakeDispatch* FakeIde::entryAt(long position) const {
    long at = 0;
    for (const auto& entry : entries_)
        if (!entry->deleted && ++at == position)
            return entry->object.get();
    return nullptr;
}

void FakeIde::makeProjectObjects() {
    project_ = std::make_unique<FakeDispatch>(L"Project", log);
    componentList_ = std::make_unique<FakeDispatch>(L"VBComponents", log);
    project_->member(L"FileName", [this](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnText(result, vbp_.wstring());
        return S_OK;
    });
    project_->valueProperty(L"HelpFile", &helpFile_);
    project_->member(L"IsDirty", [this](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnNumber(result, projectDirty_, VT_BOOL);
        return S_OK;
    });
    project_->member(L"SaveAs", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT*) {
        if (arguments.size() != 1 || textOf(arguments[0]).empty())
            return E_INVALIDARG;
        writeFile(textOf(arguments[0]), projectMemory_);
        projectDirty_ = false;
        return S_OK;
    });
    project_->objectProperty(L"VBComponents", [this] { return componentList_.get(); });
    componentList_->member(L"Count", [this](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnNumber(result, static_cast<long>(components_.size()));
        return S_OK;
    });
    componentList_->member(L"Item", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        long index = arguments.size() == 1 ? numberOf(arguments[0]) : 0;
        if (index < 1 || index > static_cast<long>(components_.size()))
            return DISP_E_BADINDEX;
        returnObject(result, components_[static_cast<size_t>(index - 1)]->object.get());
        return S_OK;
    });
    componentList_->member(L"AddFile", [this](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        if (arguments.size() != 2 || !std::filesystem::exists(textOf(arguments[0])))
            return E_INVALIDARG;
        FakeComponent document{nullptr, std::filesystem::path(textOf(arguments[0])).filename().wstring(),
                               numberOf(arguments[1]) ? 10L : 1L, textOf(arguments[0]), {}, false};
        components_.push_back(std::make_unique<FakeComponent>(std::move(document)));
        wireComponent(*components_.back());
        returnObject(result, components_.back()->object.get());
        return S_OK;
    });
}

void FakeIde::openProject(const std::filesystem::path& vbp, std::vector<FakeComponent> components) {
    vbp_ = vbp;
    projectOpen_ = true;
    projectMemory_ = vbp.empty() ? std::string() : readFile(vbp);
    for (FakeComponent& given : components) {
        auto component = std::make_unique<FakeComponent>(std::move(given));
        FakeComponent* c = component.get();
        if (!c->dirty)
            c->memory = readFile(c->file);
        wireComponent(*c);
        components_.push_back(std::move(component));
    }
}

void FakeIde::wireComponent(FakeComponent& component) {
    FakeComponent* c = &component;
    c->object = std::make_unique<FakeDispatch>(c->name, log);
    c->object->member(L"Name", [c](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnText(result, c->name);
        return S_OK;
    });
    c->object->member(L"Type", [c](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnNumber(result, c->type);
        return S_OK;
    });
    c->object->member(L"FileNames", [c](WORD, const std::vector<VARIANT*>& arguments, VARIANT* result) {
        if (arguments.size() != 1 || numberOf(arguments[0]) != 1)
            return DISP_E_BADINDEX;
        returnText(result, c->file.wstring());
        return S_OK;
    });
    c->object->member(L"IsDirty", [c](WORD, const std::vector<VARIANT*>&, VARIANT* result) {
        returnNumber(result, c->dirty, VT_BOOL);
        return S_OK;
    });
    c->object->member(L"SaveAs", [c](WORD, const std::vector<VARIANT*>& arguments, VARIANT*) {
        if (arguments.size() != 1 || textOf(arguments[0]).empty())
            return E_INVALIDARG;
        writeFile(textOf(arguments[0]), c->memory);
        c->dirty = false;
        return S_OK;
    });
    c->object->member(L"Reload", [c](WORD, const std::vector<VARIANT*>&, VARIANT*) {
        c->memory = readFile(c->file);
        c->dirty = false;
        return S_OK;
    });
}

std::wstring FakeIde::helpFile() const { return textOf(&helpFile_); }

void FakeIde::setProjectDirty(std::string vbpText) {
    projectMemory_ = std::move(vbpText);
    projectDirty_ = true;
}

std::vector<const FakeDispatch*> FakeIde::objects() const {
    std::vector<const FakeDispatch*> all{vbe_.get(),    bars_.get(),    menu_.get(),          controls_.get(),
                                         events_.get(), window_.get(), project_.get(), componentList_.get()};
    for (const auto& entry : entries_) {
        all.push_back(entry->object.get());
        if (entry->events)
            all.push_back(entry->events.get());
    }
    for (const auto& component : components_)
        all.push_back(component->object.get());
    return all;
}

bool FakeIde::referencesBalanced(std::wstring& unbalanced) const {
    unbalanced.clear();
    for (const FakeDispatch* object : objects())
        if (object->references() != 0 || object->overReleased())
            unbalanced += object->name() + L"(" + std::to_wstring(object->references()) +
                          (object->overReleased() ? L", released once too often) " : L") ");
    return unbalanced.empty();
}

} // namespace corvane::vbaddin::testing
