#include "vbaddin/MenuEntry.h"

#include "vbaddin/LateBound.h"

namespace corvane::vbaddin {

namespace {

// Whether the entry at `position` (from 1) of `controls` begins a group.
bool beginsGroup(IDispatch* controls, long position) {
    ComRef<IDispatch> entry = getObject(controls, L"Item", {Variant(position)});
    return getProperty(entry.get(), L"BeginGroup").flag();
}

// Puts a copy of `bitmap` on the clipboard, which PasteFace reads the icon from.
bool putOnClipboard(HBITMAP bitmap) {
    if (!bitmap || !::OpenClipboard(nullptr))
        return false;
    ::EmptyClipboard();
    // The clipboard owns what it is given: it gets a copy, the add-in keeps its own bitmap.
    HANDLE copy = ::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0);
    bool placed = copy && ::SetClipboardData(CF_BITMAP, copy);
    if (!placed && copy)
        ::DeleteObject(copy);
    ::CloseClipboard();
    return placed;
}

} // namespace

// Gives the new entry its group flag, caption, action and icon.
void describeEntry(IDispatch* controls, IDispatch* entry, const std::wstring& caption, HBITMAP bitmap);

ComRef<IDispatch> AddToAddInCommandBar(IDispatch* vbe, const std::wstring& caption, HBITMAP bitmap) {
    ComRef<IDispatch> bars = getObject(vbe, L"CommandBars");
    ComRef<IDispatch> menu = getObject(bars.get(), L"Item", {Variant(std::wstring(L"Add-Ins"))});
    ComRef<IDispatch> controls = getObject(menu.get(), L"Controls");
    ComRef<IDispatch> entry = getObject(controls.get(), L"Add", {Variant(1L)});
    try {
        describeEntry(controls.get(), entry.get(), caption, bitmap);
    } catch (const LateBoundFailure&) {
        deleteMenuEntry(entry.get()); // no captionless entry stays behind in the menu
        throw;
    }
    return entry;
}

void describeEntry(IDispatch* controls, IDispatch* entry, const std::wstring& caption, HBITMAP bitmap) {
    // The entry that was last before the new one starts a group and the one before it does
    // not: the new entry joins that group's end by starting one too. A menu of fewer than two
    // earlier entries has no such pair: the entry starts no group.
    long previous = getProperty(controls, L"Count").number() - 1;
    if (previous >= 2 && beginsGroup(controls, previous) && !beginsGroup(controls, previous - 1))
        putProperty(entry, L"BeginGroup", Variant::boolean(true));
    putProperty(entry, L"Caption", Variant(caption));
    putProperty(entry, L"OnAction", Variant(std::wstring(L"hello")));
    // An entry without its icon still works: the icon is not worth failing the connection.
    if (putOnClipboard(bitmap)) {
        try {
            callMethod(entry, L"PasteFace");
        } catch (const LateBoundFailure&) {
        }
    }
}

void deleteMenuEntry(IDispatch* entry) {
    if (!entry)
        return;
    try {
        callMethod(entry, L"Delete");
    } catch (const LateBoundFailure&) {
    }
}

} // namespace corvane::vbaddin
