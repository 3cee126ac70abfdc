// A status bar of text panels; Repaint shows new text at once.
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
    std::vector<std::string> fits_;
    QLabel* view_ = nullptr;
};

class TStatusBar : public TControl {
public:
    explicit TStatusBar(TWinControl* parent);
    // Replaces the panels by panels of these widths.
    void SetPanelWidths(const std::vector<int>& widths);
    // The panel is at least as wide as the longest of these texts needs in
    // the font the bar shows them in when it is laid out.
    void FitPanel(int index, const std::vector<std::string>& texts);
    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel& Panels(int index) { return panels_.at(static_cast<std::size_t>(index)); }
    void SetBounds(int left, int top, int width, int height) override;
    // The width a panel has on screen, and the width its text needs there.
    int ShownWidth(int index) const;
    int NeededWidth(int index) const;

private:
    // Panels side by side; the last reaches the right edge. When the bar is
    // too narrow for the room that fitted texts added, panels without texts
    // to fit (a path, which no width holds whole) give it up.
    void placePanels();
    int neededWidth(const TStatusPanel& panel, const std::string& text) const;
    std::vector<TStatusPanel> panels_;
};
