// Track bar and progress bar state and their Qt views.
#include "platform/range_controls.h"

#include <algorithm>

#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>

#include "platform/application.h"

TTrackBar::TTrackBar(TWinControl* parent) : TControl(parent, new QSlider(Qt::Horizontal))
{
    slider_ = static_cast<QSlider*>(widget_);
    show();
    QObject::connect(slider_, &QSlider::valueChanged, [this](int value) {
        // A vertical QSlider has its minimum at the bottom; the bar's is at the top.
        SetPosition(orientation_ == TTrackBarOrientation::trVertical ? max_ + min_ - value : value);
    });
}

void TTrackBar::SetRange(int min, int max)
{
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    show();
}

void TTrackBar::SetPosition(int position)
{
    position = std::clamp(position, min_, max_);
    if (position == position_)
        return;
    position_ = position;
    show();
    if (OnChange)
        Application->Guard(OnChange);
}

void TTrackBar::SetOrientation(TTrackBarOrientation orientation)
{
    orientation_ = orientation;
    slider_->setOrientation(orientation == TTrackBarOrientation::trVertical ? Qt::Vertical : Qt::Horizontal);
    show();
}

void TTrackBar::show()
{
    const QSignalBlocker block(slider_);
    slider_->setRange(min_, max_);
    slider_->setPageStep(PageSize);
    slider_->setTickInterval(Frequency);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setValue(orientation_ == TTrackBarOrientation::trVertical ? max_ + min_ - position_ : position_);
}

TProgressBar::TProgressBar(TWinControl* parent) : TControl(parent, new QProgressBar)
{
    bar_ = static_cast<QProgressBar*>(widget_);
    bar_->setRange(0, 100);
    bar_->setValue(0);
}

void TProgressBar::SetPosition(int position)
{
    position_ = std::clamp(position, Min, Max);
    bar_->setRange(Min, Max);
    bar_->setValue(position_);
}
