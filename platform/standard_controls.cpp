// Standard controls: the state lives here, the Qt widget mirrors it.
#include "platform/standard_controls.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalBlocker>
#include <QToolButton>

#include "platform/application.h"
#include "platform/qt_font.h"
#include "platform/qt_views.h"
#include "platform/text_encoding.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// An edit that reports leaving it and key releases.
class LineEditView : public qtview::MouseView<QLineEdit> {
public:
    explicit LineEditView(TEdit* owner) : MouseView(owner), edit_(owner) { forwardToBase = true; }
    bool inputMethodOff = false;

    // The input method asks the focused control whether to compose into
    // it; a line edit would answer yes whatever its attribute says.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        if (query == Qt::ImEnabled && inputMethodOff)
            return false;
        return QLineEdit::inputMethodQuery(query);
    }

protected:
    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        pressed_.clear();
        // Leaving for another control of the same window, not a deactivation.
        if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
            edit_->UserLeft();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        pressed_.insert(event->key());
        QLineEdit::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        QLineEdit::keyReleaseEvent(event);
        // Only the release of a key pressed here: Enter that closed a box
        // over this window is released here, and must not act a second time.
        const bool pressedHere =
            event->isAutoRepeat() ? pressed_.contains(event->key()) : pressed_.remove(event->key());
        if (!pressedHere)
            return;
        unsigned short key = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                                 ? VK_RETURN
                                 : static_cast<unsigned short>(event->key() & 0xFFFF);
        edit_->UserKeyUp(key, 0);
    }

private:
    TEdit* edit_;
    QSet<int> pressed_;
};

// A memo that pastes only text the clipboard really holds. Qt 6.4 crashes
// inserting the clipboard's data when no program owns the clipboard; every
// paste (keys, the context menu, the middle button) comes through here.
class MemoView : public qtview::MouseView<QPlainTextEdit> {
public:
    explicit MemoView(TMemo* owner) : MouseView(owner) { forwardToBase = true; }

protected:
    void insertFromMimeData(const QMimeData* source) override
    {
        if (source && source->hasText())
            insertPlainText(source->text());
    }
};

}  // namespace

std::string TStrings::operator[](int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return lines_[static_cast<std::size_t>(index)];
}

void TStrings::Add(const std::string& line)
{
    lines_.push_back(line);
    changed();
}

void TStrings::Clear()
{
    if (lines_.empty())
        return;
    lines_.clear();
    changed();
}

void TStrings::Assign(const std::vector<std::string>& lines)
{
    lines_ = lines;
    changed();
}

std::string TStrings::Text() const
{
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i)
            text += '\n';
        text += lines_[i];
    }
    return text;
}

void TStrings::SetText(const std::string& text)
{
    lines_.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines_.push_back(line);
        start = end + 1;
    }
    changed();
}

void TStrings::changed()
{
    if (OnChange)
        OnChange();
}

TLabel::TLabel(TWinControl* parent) : TControl(parent, new qtview::MouseView<QLabel>(this))
{
    label_ = static_cast<QLabel*>(widget_);
}

void TLabel::SetCaption(const std::string& caption)
{
    caption_ = caption;
    label_->setText(Q(caption));
}

void TLabel::fontChanged()
{
    label_->setFont(QFontFromFont(font_));
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, QColorFromTColor(font_.Color()));
    label_->setPalette(palette);
}

TEdit::TEdit(TWinControl* parent) : TControl(parent, new LineEditView(this))
{
    edit_ = static_cast<QLineEdit*>(widget_);
    QObject::connect(edit_, &QLineEdit::textEdited,
                     [this](const QString& text) { UserEdited(text.toStdString()); });
}

void TEdit::SetText(const std::string& text)
{
    if (text == text_)
        return;
    text_ = text;
    {
        const QSignalBlocker block(edit_);
        edit_->setText(Q(text_));
    }
    if (OnChange)
        Application->Guard(OnChange);
}

void TEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    edit_->setReadOnly(readOnly);
}

void TEdit::SetImeMode(TImeMode mode)
{
    static_cast<LineEditView*>(edit_)->inputMethodOff = mode == TImeMode::imDisable;
    edit_->setAttribute(Qt::WA_InputMethodEnabled, mode != TImeMode::imDisable);
}

void TEdit::UserEdited(const std::string& text)
{
    std::string limited = text;
    const std::size_t fits = MaxLength > 0 ? Cp932PrefixBytes(limited, static_cast<std::size_t>(MaxLength))
                                           : limited.size();
    if (fits < limited.size()) {
        limited.resize(fits);
        const QSignalBlocker block(edit_);
        edit_->setText(Q(limited));
    }
    if (limited == text_)
        return;
    text_ = limited;
    if (OnChange)
        Application->Guard(OnChange);
}

void TEdit::UserLeft()
{
    if (OnExit)
        Application->Guard(OnExit);
}

void TEdit::UserKeyUp(unsigned short key, TShiftState shift)
{
    if (OnKeyUp)
        Application->Guard([&] { OnKeyUp(key, shift); });
}

void TEdit::fontChanged()
{
    edit_->setFont(QFontFromFont(font_));
}

TMemo::TMemo(TWinControl* parent) : TControl(parent, new MemoView(this))
{
    view_ = static_cast<QPlainTextEdit*>(widget_);
    lines_.OnChange = [this] {
        syncView();
        if (OnChange && !syncing_)
            Application->Guard(OnChange);
    };
    QObject::connect(view_, &QPlainTextEdit::textChanged, [this] {
        if (!syncing_)
            UserEdited(view_->toPlainText().toStdString());
    });
}

void TMemo::SetVisible(bool visible)
{
    TControl::SetVisible(visible);
    syncView();
}

void TMemo::UserEdited(const std::string& text)
{
    syncing_ = true;
    lines_.SetText(text);
    syncing_ = false;
    if (OnChange)
        Application->Guard(OnChange);
}

void TMemo::fontChanged()
{
    view_->setFont(QFontFromFont(font_));
}

void TMemo::syncView()
{
    // Hidden memos (the photo list, the log) can hold thousands of lines:
    // only a shown memo copies its lines into the widget.
    if (syncing_ || !visible_)
        return;
    syncing_ = true;
    view_->setPlainText(Q(lines_.Text()));
    syncing_ = false;
}

TButton::TButton(TWinControl* parent) : TControl(parent, new QPushButton)
{
    button_ = static_cast<QAbstractButton*>(widget_);
    QObject::connect(button_, &QAbstractButton::clicked, [this] { Click(); });
}

void TButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
    button_->setText(Q(caption));
}

void TButton::Click()
{
    if (OnClick)
        Application->Guard(OnClick);
    if (ModalResult != 0)
        if (TWinControl* form = parent_) {
            // The form that holds the button ends its modal loop.
            while (form->Parent())
                form = form->Parent();
            Application->EndModal(form, ModalResult);
        }
}

TSpeedButton::TSpeedButton(TWinControl* parent) : TControl(parent, new QToolButton)
{
    button_ = static_cast<QAbstractButton*>(widget_);
    QObject::connect(button_, &QAbstractButton::clicked, [this] { Click(); });
}

void TSpeedButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
    button_->setText(Q(caption));
}

void TSpeedButton::SetDown(bool down)
{
    if (down && GroupIndex != 0 && parent_)
        for (TControl* sibling : parent_->Controls())
            if (auto* other = dynamic_cast<TSpeedButton*>(sibling); other && other != this && other->GroupIndex == GroupIndex)
                other->SetDown(false);
    down_ = down;
    button_->setCheckable(GroupIndex != 0);
    const QSignalBlocker block(button_);
    button_->setChecked(down_);
}

void TSpeedButton::Click()
{
    if (GroupIndex != 0) {
        // A click on a down button raises it only when all may be up.
        if (!down_)
            SetDown(true);
        else if (AllowAllUp)
            SetDown(false);
        else
            SetDown(true);
    }
    if (OnClick)
        Application->Guard(OnClick);
}

TCheckBox::TCheckBox(TWinControl* parent) : TControl(parent, new QCheckBox)
{
    box_ = static_cast<QAbstractButton*>(widget_);
    QObject::connect(box_, &QAbstractButton::clicked, [this](bool checked) { SetChecked(checked); });
}

void TCheckBox::SetCaption(const std::string& caption)
{
    caption_ = caption;
    box_->setText(Q(caption));
}

void TCheckBox::SetChecked(bool checked)
{
    {
        const QSignalBlocker block(box_);
        box_->setChecked(checked);
    }
    if (checked == checked_)
        return;
    checked_ = checked;
    if (OnClick)
        Application->Guard(OnClick);
}

TRadioButton::TRadioButton(TWinControl* parent) : TControl(parent, new QRadioButton)
{
    button_ = static_cast<QAbstractButton*>(widget_);
    // Exclusivity is kept here, so that "none checked" stays possible.
    button_->setAutoExclusive(false);
    QObject::connect(button_, &QAbstractButton::clicked, [this] { SetChecked(true); });
}

void TRadioButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
    button_->setText(Q(caption));
}

void TRadioButton::SetChecked(bool checked)
{
    if (checked && parent_)
        for (TControl* sibling : parent_->Controls())
            if (auto* other = dynamic_cast<TRadioButton*>(sibling); other && other != this && other->checked_) {
                other->checked_ = false;
                other->show();
            }
    const bool changed = checked != checked_;
    checked_ = checked;
    show();
    if (changed && OnClick)
        Application->Guard(OnClick);
}

void TRadioButton::show()
{
    const QSignalBlocker block(button_);
    button_->setChecked(checked_);
}

TComboBox::TComboBox(TWinControl* parent, bool editable) : TControl(parent, new QComboBox)
{
    combo_ = static_cast<QComboBox*>(widget_);
    combo_->setEditable(editable);
    QObject::connect(combo_, &QComboBox::activated, [this](int index) { UserChose(index); });
    if (editable)
        QObject::connect(combo_->lineEdit(), &QLineEdit::textEdited,
                         [this](const QString& text) { UserEdited(text.toStdString()); });
}

void TComboBox::SetItems(const std::vector<std::string>& items)
{
    items_ = items;
    if (Sorted)
        std::sort(items_.begin(), items_.end());
    const QSignalBlocker block(combo_);
    combo_->clear();
    for (const auto& item : items_)
        combo_->addItem(Q(item));
    itemIndex_ = -1;
    combo_->setCurrentIndex(-1);
    if (combo_->isEditable())
        combo_->setEditText(Q(text_));
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= static_cast<int>(items_.size()))
        index = -1;
    itemIndex_ = index;
    if (index >= 0)
        text_ = items_[static_cast<std::size_t>(index)];
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(index);
}

void TComboBox::SetText(const std::string& text)
{
    text_ = text;
    itemIndex_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == text)
            itemIndex_ = static_cast<int>(i);
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(itemIndex_);
    if (combo_->isEditable())
        combo_->setEditText(Q(text_));
}

void TComboBox::UserChose(int index)
{
    itemIndex_ = index;
    if (index >= 0 && index < static_cast<int>(items_.size()))
        text_ = items_[static_cast<std::size_t>(index)];
    if (OnChange)
        Application->Guard(OnChange);
}

void TComboBox::UserEdited(const std::string& text)
{
    text_ = text;
    itemIndex_ = -1;
    if (OnChange)
        Application->Guard(OnChange);
}

TPanel::TPanel(TWinControl* parent) : TWinControl(parent, new qtview::MouseView<QFrame>(this)) {}

TGroupBox::TGroupBox(TWinControl* parent) : TWinControl(parent, new QGroupBox) {}

void TGroupBox::SetCaption(const std::string& caption)
{
    caption_ = caption;
    static_cast<QGroupBox*>(widget_)->setTitle(Q(caption));
}
