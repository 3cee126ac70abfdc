// One-line creation of controls at their design place, as the forms lay
// themselves out: each returns the control, already parented and set.
#pragma once

#include "platform/range_controls.h"
#include "platform/standard_controls.h"

TLabel* NewLabel(TWinControl* parent, int left, int top, int width, const char* caption);
TEdit* NewEdit(TWinControl* parent, int left, int top, int width, const char* text, bool readOnly = false);
TButton* NewButton(TWinControl* parent, int left, int top, int width, const char* caption);
TCheckBox* NewCheckBox(TWinControl* parent, int left, int top, int width, const char* caption, bool checked);
// A horizontal track bar; the range and position are set before any handler
// can be bound, as the design values are.
TTrackBar* NewTrackBar(TWinControl* parent, int left, int top, int width, int min, int max, int position,
                       int page, int frequency);
