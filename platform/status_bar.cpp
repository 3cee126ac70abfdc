// Status bar panels as labels side by side.
#include "platform/status_bar.h"

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
    int left = 0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        panels_[i].Width = widths[i];
        auto* label = new QLabel(widget_);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setGeometry(left, 0, widths[i], 22);
        // The last panel takes the rest of the bar.
        if (i + 1 == widths.size())
            label->setMinimumWidth(widths[i]);
        label->show();
        panels_[i].view_ = label;
        left += widths[i];
    }
}
