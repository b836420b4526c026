#include "controls/Form.h"

#include "controls/HandleTable.h"
#include "controls/WindowSystem.h"

#include <algorithm>

namespace corvane::controls {

namespace {
HandleTable<Form>& handles() {
    static HandleTable<Form> table;
    return table;
}

constexpr int32_t MinimizedWidthPixels = 160;
constexpr int32_t MinimizedHeightPixels = 30;
constexpr int32_t DefaultScreenWidthPixels = 1024;
constexpr int32_t DefaultScreenHeightPixels = 768;

void requireNormal(int16_t state) {
    if (state != vbNormal)
        throw VbError(ctlerr::CannotMoveMinimized,
                      "A form can't be moved or sized while minimized or maximized");
}
} // namespace

Form::Form(std::string name)
    : name_(std::move(name)), controls_(*this), handle_(handles().add(this)) {}

Form::~Form() {
    handles().remove(handle_);
    if (WindowSystem* windowSystem = WindowSystem::current())
        windowSystem->windowDestroyed(*this);
}

Form* Form::fromHandle(int32_t handle) { return handles().find(handle); }

void Form::SetCaption(std::string caption) {
    ensureLoaded();
    caption_ = std::move(caption);
    changed("Caption");
}

void Form::SetTag(std::string tag) {
    ensureLoaded();
    tag_ = std::move(tag);
    changed("Tag");
}

void Form::SetIcon(int32_t resourceId) {
    ensureLoaded();
    icon_ = resourceId;
    changed("Icon");
}

ControlList& Form::Controls() {
    ensureLoaded();
    return controls_;
}

Form::Bounds Form::bounds() const {
    if (windowState_ == vbMinimized)
        return {normal_.left, normal_.top, MinimizedWidthPixels * twipsPerPixelX(),
                MinimizedHeightPixels * twipsPerPixelY()};
    if (windowState_ == vbMaximized) {
        WindowSystem* windowSystem = WindowSystem::current();
        return {0, 0,
                windowSystem ? windowSystem->ScreenWidth()
                             : DefaultScreenWidthPixels * twipsPerPixelX(),
                windowSystem ? windowSystem->ScreenHeight()
                             : DefaultScreenHeightPixels * twipsPerPixelY()};
    }
    return normal_;
}

int32_t Form::Left() const { return bounds().left; }
int32_t Form::Top() const { return bounds().top; }
int32_t Form::Width() const { return bounds().width; }
int32_t Form::Height() const { return bounds().height; }

void Form::SetLeft(int32_t left) { Move(left, normal_.top, normal_.width, normal_.height); }
void Form::SetTop(int32_t top) { Move(normal_.left, top, normal_.width, normal_.height); }
void Form::SetWidth(int32_t width) { Move(normal_.left, normal_.top, width, normal_.height); }
void Form::SetHeight(int32_t height) { Move(normal_.left, normal_.top, normal_.width, height); }

void Form::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width < 0 || height < 0)
        throw invalidValue(width < 0 ? "Width" : "Height");
    ensureLoaded();
    requireNormal(windowState_);
    setNormalBounds({left, top, width, height});
}

void Form::setNormalBounds(Bounds bounds) {
    const Bounds before = this->bounds();
    normal_ = bounds;
    changed("Geometry");
    raiseResizeIfChanged(before);
}

void Form::raiseResizeIfChanged(Bounds before) {
    const Bounds after = bounds();
    if (loaded_ && (after.width != before.width || after.height != before.height))
        Form_Resize();
}

int32_t Form::ScaleWidth() const {
    if (windowState_ == vbMinimized)
        return 0;
    return std::max(0, Width() - framePixelsX_ * twipsPerPixelX());
}

int32_t Form::ScaleHeight() const {
    if (windowState_ == vbMinimized)
        return 0;
    return std::max(0, Height() - framePixelsY_ * twipsPerPixelY());
}

void Form::setFrameSize(int32_t pixelsX, int32_t pixelsY) {
    framePixelsX_ = std::max(0, pixelsX);
    framePixelsY_ = std::max(0, pixelsY);
}

void Form::refreshLayout() {
    if (loaded_)
        Form_Resize();
}

void Form::SetWindowState(int16_t state) {
    if (state < vbNormal || state > vbMaximized)
        throw invalidValue("WindowState");
    ensureLoaded();
    if (state == windowState_)
        return;
    const Bounds before = bounds();
    windowState_ = state;
    changed("WindowState");
    raiseResizeIfChanged(before);
}

void Form::SetVisible(bool visible) {
    if (visible)
        Show(vbModeless);
    else
        Hide();
}

void Form::ensureInitialized() {
    if (initialized_)
        return;
    initialized_ = true;
    Form_Initialize();
}

void Form::Load() { ensureLoaded(); }

void Form::ensureLoaded() {
    ensureInitialized();
    if (loaded_)
        return;
    loaded_ = true;
    createControls();
    Form_Load();
}

void Form::Show(int modal, Form* owner) {
    if (modal != vbModeless && modal != vbModal)
        throw VbError(vberr::InvalidCall, {}, name_ + ".Show");
    WindowSystem& windowSystem = WindowSystem::get();
    ensureLoaded();
    if (!loaded_)
        throw VbError(ctlerr::ObjectUnloaded, "Object was unloaded", name_);
    if (modal == vbModal && visible_)
        throw VbError(ctlerr::AlreadyDisplayed, "Form already displayed; can't show modally",
                      name_);
    if (!visible_) {
        visible_ = true;
        changed("Visible");
    }
    if (!shownSinceLoad_) {
        shownSinceLoad_ = true;
        Form_Resize();
    }
    if (modal == vbModal) {
        WindowSystem::ModalRun running(windowSystem);
        windowSystem.runModal(*this, owner);
    } else
        windowSystem.windowShown(*this, owner);
}

void Form::Hide() {
    ensureLoaded();
    if (!visible_)
        return;
    visible_ = false;
    changed("Visible");
    if (WindowSystem* windowSystem = WindowSystem::current())
        windowSystem->windowHidden(*this);
}

bool Form::Unload() { return unloadFor(vbFormCode); }

bool Form::userClose() { return unloadFor(vbFormControlMenu); }

bool Form::unloadFor(int unloadMode) {
    if (!loaded_ || unloading_)
        return true; // an unload inside QueryUnload or Unload adds nothing
    unloading_ = true;
    struct Unloading { // cleared however the handlers end
        bool& flag;
        ~Unloading() { flag = false; }
    } guard{unloading_};
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel != 0)
        return false;
    Form_Unload();
    visible_ = false;
    loaded_ = false;
    shownSinceLoad_ = false;
    windowState_ = vbNormal;
    changed("Visible");
    if (WindowSystem* windowSystem = WindowSystem::current())
        windowSystem->windowUnloaded(*this);
    controls_.retireAll();
    return true;
}

void Form::createControls() {}
void Form::Form_Initialize() {}
void Form::Form_Load() {}
void Form::Form_Resize() {}
void Form::Form_QueryUnload(int&, int) {}
void Form::Form_Unload() {}

} // namespace corvane::controls
