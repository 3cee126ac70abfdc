// Track bars and progress bars. A track bar's position set from code is
// clamped to its range first, and its OnChange runs exactly when the clamped
// value differs from the current one, from code or from the operator.
#pragma once

#include "platform/control.h"

class QSlider;
class QProgressBar;

enum class TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TControl {
public:
    explicit TTrackBar(TWinControl* parent);
    int Min() const { return min_; }
    int Max() const { return max_; }
    // Sets the range without running OnChange (design values).
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int position);
    int PageSize = 1;
    int Frequency = 1;
    void SetOrientation(TTrackBarOrientation orientation);
    TNotifyEvent OnChange;

private:
    void show();
    QSlider* slider_;
    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    TTrackBarOrientation orientation_ = TTrackBarOrientation::trHorizontal;
};

class TProgressBar : public TControl {
public:
    explicit TProgressBar(TWinControl* parent);
    int Position() const { return position_; }
    void SetPosition(int position);
    int Min = 0;
    int Max = 100;

private:
    QProgressBar* bar_;
    int position_ = 0;
};
