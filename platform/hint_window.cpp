// Hint window over a tool-tip kind of top-level widget.
#include "platform/hint_window.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include "platform/qt_font.h"

namespace {

// The text's distance from the window's edges; a one-pixel frame lies within.
constexpr int kPaddingX = 3;
constexpr int kPaddingY = 2;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

class HintView : public QWidget {
public:
    explicit HintView(THintWindow* owner) : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint), owner_(owner)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColorFromTColor(owner_->Color()));
        painter.setPen(QColorFromTColor(owner_->Font().Color()));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setFont(QFontFromFont(owner_->Font()));
        painter.drawText(rect().adjusted(kPaddingX, kPaddingY, -kPaddingX, -kPaddingY), kTextFlags,
                         QString::fromStdString(owner_->Caption()));
    }

private:
    THintWindow* owner_;
};

}  // namespace

THintWindow::THintWindow() : TControl(nullptr, new HintView(this))
{
    visible_ = false;
    color_ = clInfoBk;
    SetBounds(0, 0, 0, 0);
}

void THintWindow::SetCaption(const std::string& caption)
{
    caption_ = caption;
    widget_->update();
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text) const
{
    const QFontMetrics metrics(QFontFromFont(font_));
    const QRect bounds = metrics.boundingRect(QRect(0, 0, maxWidth, 0), kTextFlags, QString::fromStdString(text));
    return {0, 0, bounds.width() + 2 * kPaddingX, bounds.height() + 2 * kPaddingY};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& text)
{
    caption_ = text;
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    SetVisible(true);
    widget_->update();
}

bool THintWindow::Showing() const
{
    return visible_ && width_ > 0 && height_ > 0;
}

void THintWindow::SetBounds(int left, int top, int width, int height)
{
    TControl::SetBounds(left, top, width, height);
    show();
}

void THintWindow::SetVisible(bool visible)
{
    visible_ = visible;
    show();
}

void THintWindow::show()
{
    widget_->setVisible(Showing());
}
