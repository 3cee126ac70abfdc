// Status bar panels as labels side by side.
#include "platform/status_bar.h"

#include <algorithm>

#include <QFrame>
#include <QLabel>

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

void TStatusBar::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    placePanels();
}

void TStatusBar::placePanels()
{
    int left = 0;
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        const bool last = i + 1 == panels_.size();
        const int width = last ? std::max(panels_[i].Width, width_ - left) : panels_[i].Width;
        panels_[i].view_->setGeometry(left, 0, width, 22);
        left += panels_[i].Width;
    }
}
