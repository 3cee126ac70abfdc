// A scroll box: children live on a scrolled content area whose size follows
// the children's extents. A child's Left/Top are relative to the scrolled
// origin (content position minus scroll position).
#pragma once

#include "platform/control.h"

class QScrollArea;

class TScrollBar {
public:
    int Position() const;
    void SetPosition(int position);

private:
    friend class TScrollBox;
    QScrollArea* area_ = nullptr;
    bool horizontal_ = true;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TWinControl* parent);
    QWidget* ChildHost() const override;
    TPoint ScrollOffset() const override;
    // The inner size: the bounds less the 2-pixel border on each side.
    int ClientWidth() const override { return width_ - 4; }
    int ClientHeight() const override { return height_ - 4; }
    TScrollBar HorzScrollBar;
    TScrollBar VertScrollBar;
    // Grows or shrinks the scrolled area to the children's extents.
    void UpdateScrollRange();
    void ChildGeometryChanged() override { UpdateScrollRange(); }

private:
    QScrollArea* area_;
    QWidget* content_;
};
