// Form: a window of the program (VB's Form) with its controls and lifecycle events.
//
// Windows of the program derive from Form, build their controls in createControls() and
// override the event handlers. The lifecycle follows VB:
//   Initialize  the object is first used (or made through Form::create)
//   Load        the window loads: on Load(), Show(), a built-in property being set, or the
//               first use of a control (derived windows call ensureLoaded() in their
//               control accessors); the controls are built afresh, then Form_Load runs
//   Resize      the first time the loaded window is shown, and whenever its size changes
//               while loaded (WindowState changes included)
//   QueryUnload before unloading: 0 = the user closed it with the close box (userClose),
//               1 = code unloaded it (Unload); a non-zero Cancel keeps the window loaded
//   Unload      the window unloads: it is hidden and its controls are retired; using a
//               control afterwards loads the window again with fresh controls
// Left/Top/Width/Height are the outer bounds in twips; ScaleWidth/ScaleHeight the client size.
#pragma once

#include "controls/ControlList.h"
#include "controls/Event.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace corvane::controls {

// Show styles.
constexpr int vbModeless = 0;
constexpr int vbModal = 1;
// Why a window unloads (QueryUnload's UnloadMode).
constexpr int vbFormControlMenu = 0;
constexpr int vbFormCode = 1;
// Window states.
constexpr int16_t vbNormal = 0;
constexpr int16_t vbMinimized = 1;
constexpr int16_t vbMaximized = 2;

class Form {
public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    // Makes a window and raises its Initialize at once.
    template <typename T, typename... Args>
    static std::unique_ptr<T> create(Args&&... args) {
        auto form = std::make_unique<T>(std::forward<Args>(args)...);
        form->ensureInitialized();
        return form;
    }

    // The window's name ("frmWizard").
    const std::string& Name() const noexcept { return name_; }
    // The title bar text.
    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    // Free text for the program's use (a string table number).
    const std::string& Tag() const noexcept { return tag_; }
    void SetTag(std::string tag);
    // The window's icon: a resource id of the program's icons (0: none).
    int32_t Icon() const noexcept { return icon_; }
    void SetIcon(int32_t resourceId);

    // The window's controls in order (loads the window).
    ControlList& Controls();

    // Outer bounds in twips. Setting them loads the window; raises 384 while the window is
    // minimised or maximised, 380 for a negative size. Read while not normal they give the
    // minimised or maximised bounds.
    int32_t Left() const;
    int32_t Top() const;
    int32_t Width() const;
    int32_t Height() const;
    void SetLeft(int32_t left);
    void SetTop(int32_t top);
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    // The client area in twips (0 while minimised).
    int32_t ScaleWidth() const;
    int32_t ScaleHeight() const;
    // 0 normal, 1 minimised, 2 maximised (loads the window); the normal bounds are kept
    // while minimised or maximised and come back with the normal state; else 380.
    int16_t WindowState() const noexcept { return windowState_; }
    void SetWindowState(int16_t state);

    // Whether the window is shown; setting True shows it modeless, False hides it.
    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    // The window's handle: non-zero, unique in the process.
    int32_t hWnd() const noexcept { return handle_; }
    // The window with that handle, or nullptr.
    static Form* fromHandle(int32_t handle);

    // True while the window is loaded.
    bool loaded() const noexcept { return loaded_; }
    // Loads the window (VB's Load statement); no effect when it is loaded.
    void Load();
    // Loads and shows the window; modal (vbModal) returns when it is hidden or unloaded.
    // Raises 400 when a visible window is shown modal, 91 when no window system is installed.
    void Show(int modal = vbModeless, Form* owner = nullptr);
    // Hides the window (loading it first, as VB does).
    void Hide();
    // Unloads the window from code (QueryUnload mode 1); false when QueryUnload cancelled.
    bool Unload();
    // The user closes the window with its close box (QueryUnload mode 0); false when
    // QueryUnload cancelled.
    bool userClose();

    // Outer bounds in twips.
    struct Bounds {
        int32_t left, top, width, height;
    };
    // The bounds of the normal state, whatever the state is now (views place the window there
    // before they show it maximised or minimised).
    Bounds normalBounds() const noexcept { return normal_; }

    // The size of the window frame (borders and title bar) in pixels; the window system
    // sets it, the client area is the outer size less the frame.
    void setFrameSize(int32_t pixelsX, int32_t pixelsY);
    // Raises Resize while the window is loaded: the window system calls it when a part that
    // the layout reads (the toolbar's height) changed size although the window did not.
    void refreshLayout();

    // Raised with the property's name after a property of the window changed (for views).
    Event<std::string_view> PropertyChanged;

protected:
    // Loads the window when it is not loaded; control accessors of derived windows call it.
    void ensureLoaded();
    // Raises Initialize when it has not been raised.
    void ensureInitialized();
    // Adds a control while the window builds its controls.
    template <typename T>
    T& add(std::string name, Control* container = nullptr) {
        return controls_.Add<T>(std::move(name), container);
    }

    // Builds the controls with their design settings; runs at every load.
    virtual void createControls();
    // The lifecycle events; the base versions do nothing.
    virtual void Form_Initialize();
    virtual void Form_Load();
    virtual void Form_Resize();
    virtual void Form_QueryUnload(int& cancel, int unloadMode);
    virtual void Form_Unload();

private:
    Bounds bounds() const;
    void setNormalBounds(Bounds bounds);
    void raiseResizeIfChanged(Bounds before);
    bool unloadFor(int unloadMode);
    void changed(std::string_view property) { PropertyChanged(property); }

    std::string name_;
    std::string caption_;
    std::string tag_;
    int32_t icon_ = 0;
    ControlList controls_;
    Bounds normal_{0, 0, 4800, 3600};
    int32_t framePixelsX_ = 8;  // two borders of 4 pixels
    int32_t framePixelsY_ = 30; // a title bar of 22 pixels and two borders
    int16_t windowState_ = vbNormal;
    bool visible_ = false;
    bool initialized_ = false;
    bool loaded_ = false;
    bool shownSinceLoad_ = false;
    bool unloading_ = false;
    int32_t handle_;
};

} // namespace corvane::controls
