// The standard controls with the event rules the forms rely on:
// - setting an edit's text or a check box's state from code runs its handler
//   only when the value changes (the check box's OnClick runs on changes from
//   code too);
// - a combo box's OnChange runs on the operator's choice only;
// - Click() runs OnClick even on a disabled button;
// - radio buttons are exclusive among their siblings, and "none checked" is
//   possible; speed buttons of a group allow all up.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/control.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QAbstractButton;
class QComboBox;

// A list of lines; reading past the end gives "".
class TStrings {
public:
    int Count() const { return static_cast<int>(lines_.size()); }
    std::string operator[](int index) const;
    std::string Strings(int index) const { return (*this)[index]; }
    void Add(const std::string& line);
    void Clear();
    void Assign(const std::vector<std::string>& lines);
    const std::vector<std::string>& Lines() const { return lines_; }
    // Lines joined with "\n" (no break after the last).
    std::string Text() const;
    // Splits at line breaks; a break at the very end adds no empty line.
    void SetText(const std::string& text);
    std::function<void()> OnChange;

private:
    void changed();
    std::vector<std::string> lines_;
};

class TLabel : public TControl {
public:
    explicit TLabel(TWinControl* parent);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

protected:
    void fontChanged() override;
    bool Windowed() const override { return false; }

private:
    QLabel* label_;
    std::string caption_;
};

// An edit's input method: imDisable keeps it off (fields meant for digits).
enum class TImeMode { imDontCare, imDisable };

class TEdit : public TControl {
public:
    explicit TEdit(TWinControl* parent);
    std::string Text() const { return text_; }
    void SetText(const std::string& text);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    void SetImeMode(TImeMode mode);
    // Limits typing only, in bytes of code page 932 (two for a full-width
    // character), and never cuts a character.
    int MaxLength = 0;
    TNotifyEvent OnChange;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyUp;
    TMouseMoveEvent& OnMouseMoveEvent() { return OnMouseMove; }

    void UserEdited(const std::string& text);
    void UserLeft();
    void UserKeyUp(unsigned short key, TShiftState shift);

protected:
    void fontChanged() override;

private:
    QLineEdit* edit_;
    std::string text_;
    bool readOnly_ = false;
};

class TMemo : public TControl {
public:
    explicit TMemo(TWinControl* parent);
    TStrings& Lines() { return lines_; }
    const TStrings& Lines() const { return lines_; }
    bool ReadOnly = false;
    void SetVisible(bool visible) override;
    void UserEdited(const std::string& text);
    TNotifyEvent OnChange;

protected:
    void fontChanged() override;

private:
    void syncView();
    QPlainTextEdit* view_;
    TStrings lines_;
    bool syncing_ = false;
};

enum class TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrYes = 6, mrNo = 7 };

class TButton : public TControl {
public:
    explicit TButton(TWinControl* parent);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int ModalResult = 0;
    // Runs the click as the operator's would, even while disabled.
    void Click();

private:
    QAbstractButton* button_;
    std::string caption_;
};

using TBitBtn = TButton;

class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TWinControl* parent);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int GroupIndex = 0;
    bool AllowAllUp = false;
    bool Down() const { return down_; }
    // Setting Down from code runs nothing.
    void SetDown(bool down);
    void Click();

protected:
    bool Windowed() const override { return false; }

private:
    QAbstractButton* button_;
    std::string caption_;
    bool down_ = false;
};

class TCheckBox : public TControl {
public:
    explicit TCheckBox(TWinControl* parent);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);

private:
    QAbstractButton* box_;
    std::string caption_;
    bool checked_ = false;
};

class TRadioButton : public TControl {
public:
    explicit TRadioButton(TWinControl* parent);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return checked_; }
    // Checking one unchecks its sibling radio buttons.
    void SetChecked(bool checked);

private:
    void show();
    QAbstractButton* button_;
    std::string caption_;
    bool checked_ = false;
};

class TComboBox : public TControl {
public:
    explicit TComboBox(TWinControl* parent, bool editable = false);
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    std::string Text() const { return text_; }
    void SetText(const std::string& text);
    bool Sorted = false;
    TNotifyEvent OnChange;

    void UserChose(int index);
    void UserEdited(const std::string& text);

private:
    QComboBox* combo_;
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    std::string text_;
};

class TPanel : public TWinControl {
public:
    explicit TPanel(TWinControl* parent);
    std::string Caption;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TWinControl* parent);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    std::string caption_;
};
