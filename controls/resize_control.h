// The resize-handle component. Attached to one control at a time, it lets the
// operator move that control by dragging a frame around it and resize it by
// dragging one of eight square grips on the frame's corners and edge
// midpoints; during a drag a small hint window next to the pointer shows the
// control's position or size. Every press, move and release on the frame or
// a grip, and every one an owner forwards from the attached control, reaches
// the owner's OnMouseDown/OnMouseMove/OnMouseUp first.
//
// The frame is a picture control that paints nothing; it and the grips take
// the attached control's parent, the grips (windowed) above the frame and the
// control, the control above the frame. No minimum size and no bounds apply:
// a grip dragged past the opposite edge leaves a zero width or height.
#pragma once

#include <array>

#include "platform/custom_control.h"
#include "platform/image_control.h"

class THintWindow;

// A grip: a black square with a white one-pixel border.
class TResizeGrip : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override;
};

class TResizeControl : public TImage {
public:
    static constexpr int kGripCount = 8;
    // The frame's Tag; grip i has Tag i.
    static constexpr int kFrameTag = 8;

    // Created detached and without a parent; the owner frees it.
    explicit TResizeControl(TComponent* owner);
    ~TResizeControl() override;

    TControl* Control() const { return control_; }
    // Attaches a control that has a parent: the frame and the grips appear
    // around it. Null, or a control without a parent, hides them.
    virtual void SetControl(TControl* control);
    // A re-parented component always starts detached.
    void SetParent(TWinControl* parent) override;

    // The brush colour of the frame's own canvas; the frame stays see-through.
    TColor Color() const { return backColor_; }
    void SetBackColor(TColor color);
    // Whether the hint window follows a drag (not the framework's tool tip).
    bool ShowHint() const { return dragHint_; }
    void SetShowHint(bool show) { dragHint_ = show; }

    // Aspect keeping: with keepAspect and both aspect numbers at least 1, every
    // drag step sets the height from the width. The sender and the two
    // further numbers are accepted for the owners' calls and not used.
    void SetXYSize(TControl* sender, int aspectWidth, int aspectHeight, int, int, bool keepAspect);

    // Entry points for an owner that forwards the attached control's own
    // mouse events: forward only while Control() is that control, with the
    // component itself as the sender (so a press on the control moves it)
    // and the control's own X and Y.
    void PtMouseDown(TControl* sender, TMouseButton button, TShiftState shift, int x, int y);
    void PtMouseMove(TControl* sender, TShiftState shift, int x, int y);
    void PtMouseUp(TControl* sender, TMouseButton button, TShiftState shift, int x, int y);

    // Hides the frame and the grips; the attached control stays recorded.
    void Hide();

    // The owner's events; they redeclare the frame's own, which the
    // component takes for its drag handling.
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    TResizeGrip* Grip(int index) const { return grips_.at(static_cast<std::size_t>(index)); }
    const THintWindow& HintWindow() const { return *hint_; }

private:
    void DoMouseDown(TControl* sender, TMouseButton button, TShiftState shift, int x, int y);
    void DoMouseMove(TControl* sender, TShiftState shift, int x, int y);
    void DoMouseUp(TControl* sender, TMouseButton button, TShiftState shift, int x, int y);
    // One drag step from the press point to (x, y), relative to sender.
    void Move(TControl* sender, int x, int y);
    void ShowGrips();
    void HideGrips();
    void MoveGrips();
    void placeAround(const TControl& control);

    TControl* control_ = nullptr;
    TColor backColor_ = clNone;
    bool dragging_ = false;
    // Keeps events that moving a control delivers from running a step inside a step.
    bool busy_ = true;
    bool dragHint_ = true;
    THintWindow* hint_ = nullptr;
    std::array<TResizeGrip*, kGripCount> grips_{};
    TPoint dragStart_;
    int aspectWidth_ = 0;
    int aspectHeight_ = 0;
    bool keepAspect_ = false;
};
