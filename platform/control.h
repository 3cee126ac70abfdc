// The base of every control: bounds, visibility, enabling, hint, font,
// colour and cursor held in the control itself, with a Qt widget that
// displays them. Left/Top are relative to the parent's client origin; inside
// a scroll box that origin is the scrolled one, as the forms' arithmetic
// expects. A control without a parent is never on screen. Graphic controls
// (pictures, labels, speed buttons) lie beneath their windowed siblings, as
// the framework paints them on the parent itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/font.h"
#include "platform/graphics_types.h"

class QWidget;
class TWinControl;
enum class TCursor;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;

using TNotifyEvent = std::function<void()>;
using TMouseEvent = std::function<void(TMouseButton, TShiftState, int, int)>;
using TMouseMoveEvent = std::function<void(TShiftState, int, int)>;
using TKeyEvent = std::function<void(unsigned short& key, TShiftState)>;
// The key code of Enter (either Return key) in key events.
constexpr unsigned short VK_RETURN = 13;

class TControl : public TComponent {
public:
    ~TControl() override;

    int Left() const;
    int Top() const;
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, Top(), width_, height_); }
    void SetTop(int top) { SetBounds(Left(), top, width_, height_); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, height_); }
    void SetHeight(int height) { SetBounds(Left(), Top(), width_, height); }
    virtual void SetBounds(int left, int top, int width, int height);

    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }

    // The control's own flag, independent of whether a parent is shown.
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    std::string Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    TWinControl* Parent() const { return parent_; }
    // Moves the control to another parent (or to none), keeping its Left and
    // Top numbers; it comes to the top of its kind there.
    virtual void SetParent(TWinControl* parent);
    // Above its siblings; a graphic control stays beneath the windowed ones.
    void BringToFront();
    void Invalidate();
    void Repaint();
    void Update() { Repaint(); }
    TPoint ClientToScreen(TPoint point) const;

    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnClick;

    QWidget* Widget() const { return widget_; }

    // Called by the widget views; run the handlers behind the exception guard.
    void DispatchMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void DispatchMouseMove(TShiftState shift, int x, int y);
    void DispatchMouseUp(TMouseButton button, TShiftState shift, int x, int y, bool inside);

protected:
    TControl(TWinControl* parent, QWidget* widget);
    // Font changes are shown by the widget; font holders rely only on the value.
    virtual void fontChanged();
    void applyGeometry();
    // False for the graphic controls of the framework.
    virtual bool Windowed() const { return true; }

    QWidget* widget_;
    TWinControl* parent_;
    int left_ = 0;  // in the parent's content coordinates
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool showHint_ = false;
    std::string hint_;
    TFont font_;
    TColor color_ = clBtnFace;
    TCursor cursor_{};

private:
    void raiseInItsKind();
};

// A control that holds other controls.
class TWinControl : public TControl {
public:
    ~TWinControl() override;
    // Where children's widgets live (the scroll box's content, for instance).
    virtual QWidget* ChildHost() const { return widget_; }
    // The scrolled origin (scroll positions); zero for plain containers.
    virtual TPoint ScrollOffset() const { return {}; }
    const std::vector<TControl*>& Controls() const { return children_; }
    // The children from the bottom to the top, as the window system stacks them.
    std::vector<TControl*> StackingOrder() const;
    void AddChild(TControl* child) { children_.push_back(child); }
    void RemoveChild(TControl* child);
    // A child moved, resized, appeared or disappeared.
    virtual void ChildGeometryChanged() {}

protected:
    using TControl::TControl;
    std::vector<TControl*> children_;
};
