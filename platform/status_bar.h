// A status bar of fixed-width text panels; Repaint shows new text at once.
#pragma once

#include <string>
#include <vector>

#include "platform/control.h"

class QLabel;

class TStatusPanel {
public:
    std::string Text() const { return text_; }
    void SetText(const std::string& text);
    int Width = 50;

private:
    friend class TStatusBar;
    std::string text_;
    QLabel* view_ = nullptr;
};

class TStatusBar : public TControl {
public:
    explicit TStatusBar(TWinControl* parent);
    // Replaces the panels by panels of these widths.
    void SetPanelWidths(const std::vector<int>& widths);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel& Panels(int index) { return panels_.at(static_cast<std::size_t>(index)); }
    void SetBounds(int left, int top, int width, int height) override;

private:
    // Panels side by side at their widths; the last reaches the right edge.
    void placePanels();
    std::vector<TStatusPanel> panels_;
};
