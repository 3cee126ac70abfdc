// Status bar panels as labels side by side.
#include "platform/status_bar.h"

#include <algorithm>
#include <numeric>

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>

namespace {

// The sunken frame and a little air on each side of a panel's text.
constexpr int kPanelPadding = 8;

}  // namespace

void TStatusPanel::SetText(const std::string& text)
{
    text_ = text;
    if (view_)
        view_->setText(QString::fromStdString(text));
}

TStatusBar::TStatusBar(TWinControl* parent) : TControl(parent, new QFrame)
{
    static_cast<QFrame*>(widget_)->setFrameShape(QFrame::StyledPanel);
}

void TStatusBar::SetPanelWidths(const std::vector<int>& widths)
{
    for (auto& panel : panels_)
        delete panel.view_;
    panels_.assign(widths.size(), TStatusPanel{});
    for (std::size_t i = 0; i < widths.size(); ++i) {
        panels_[i].Width = widths[i];
        auto* label = new QLabel(widget_);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->show();
        panels_[i].view_ = label;
    }
    placePanels();
}

void TStatusBar::FitPanel(int index, const std::vector<std::string>& texts)
{
    panels_.at(static_cast<std::size_t>(index)).fits_ = texts;
    placePanels();
}

void TStatusBar::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    placePanels();
}

int TStatusBar::ShownWidth(int index) const
{
    return panels_.at(static_cast<std::size_t>(index)).view_->width();
}

int TStatusBar::NeededWidth(int index) const
{
    const TStatusPanel& panel = panels_.at(static_cast<std::size_t>(index));
    return neededWidth(panel, panel.text_);
}

int TStatusBar::neededWidth(const TStatusPanel& panel, const std::string& text) const
{
    // A panel shows one line: the first.
    const QString line = QString::fromStdString(text.substr(0, text.find('\n')));
    return QFontMetrics(panel.view_->font()).horizontalAdvance(line) + kPanelPadding;
}

void TStatusBar::placePanels()
{
    std::vector<int> widths;
    int grown = 0;
    for (const TStatusPanel& panel : panels_) {
        int width = panel.Width;
        for (const std::string& text : panel.fits_)
            width = std::max(width, neededWidth(panel, text));
        widths.push_back(width);
        grown += width - panel.Width;
    }
    // Room is made only for what the texts added.
    int excess = std::min(grown, std::accumulate(widths.begin(), widths.end(), 0) - width_);
    for (std::size_t i = 0; i + 1 < panels_.size() && excess > 0; ++i)
        if (panels_[i].fits_.empty()) {
            const int given = std::min(excess, widths[i]);
            widths[i] -= given;
            excess -= given;
        }
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? std::max(widths[i], width_ - left) : widths[i];
        panels_[i].view_->setGeometry(left, 0, width, 22);
        left += widths[i];
    }
}
