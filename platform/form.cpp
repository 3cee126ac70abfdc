// Forms over top-level QWidgets.
#include "platform/form.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QResizeEvent>
#include <QUrl>
#include <QWidget>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/qt_views.h"

class FormView : public qtview::MouseView<QWidget> {
public:
    explicit FormView(TForm* form) : MouseView(form), form_(form) {}
    bool acceptDrops = false;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The form decides; the view never closes on its own.
        event->ignore();
        form_->UserCloseRequest();
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (event->spontaneous())
            form_->UserResized(event->size().width(), event->size().height());
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (acceptDrops && event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent* event) override
    {
        std::vector<std::string> paths;
        for (const QUrl& url : event->mimeData()->urls())
            if (url.isLocalFile() && !url.toLocalFile().isEmpty())
                paths.push_back(url.toLocalFile().toStdString());
        event->acceptProposedAction();
        const QPoint at = event->position().toPoint();
        form_->Dropped(paths, {at.x(), at.y()}, rect().contains(at));
    }

private:
    TForm* form_;
};

TForm::TForm(TWinControl* owner) : TWinControl(nullptr, new FormView(this))
{
    (void)owner;
    view_ = static_cast<FormView*>(widget_);
    visible_ = false;
    color_ = clBtnFace;
}

TForm::~TForm() = default;

void TForm::Created()
{
    if (OnCreate)
        Application->Guard(OnCreate);
}

void TForm::SetCaption(const std::string& caption)
{
    caption_ = caption;
    view_->setWindowTitle(QString::fromStdString(caption));
}

void TForm::SetBounds(int left, int top, int width, int height)
{
    if (width != width_ || height != height_) {
        bool accept = true;
        if (OnCanResize)
            Application->Guard([&] { OnCanResize(width, height, accept); });
        if (!accept)
            return;
    }
    const bool sizeChanged = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    resizing_ = true;
    view_->setGeometry(left_, top_, width_, height_);
    resizing_ = false;
    if (sizeChanged && OnResize)
        Application->Guard(OnResize);
}

void TForm::UserResized(int width, int height)
{
    if (resizing_ || (width == width_ && height == height_))
        return;
    int newWidth = width;
    int newHeight = height;
    bool accept = true;
    if (OnCanResize)
        Application->Guard([&] { OnCanResize(newWidth, newHeight, accept); });
    if (!accept) {
        // Refused: the window goes back to the size it had.
        resizing_ = true;
        view_->resize(width_, height_);
        resizing_ = false;
        return;
    }
    width_ = newWidth;
    height_ = newHeight;
    if (newWidth != width || newHeight != height) {
        resizing_ = true;
        view_->resize(width_, height_);
        resizing_ = false;
    }
    if (OnResize)
        Application->Guard(OnResize);
}

void TForm::SetAlphaBlend(bool on)
{
    alphaBlend_ = on;
    // Opacity needs a window system; headless, the value is only kept.
    if (QGuiApplication::platformName() != "offscreen")
        view_->setWindowOpacity(alphaBlend_ ? alphaValue_ / 255.0 : 1.0);
}

void TForm::SetAlphaBlendValue(int value)
{
    alphaValue_ = std::clamp(value, 0, 255);
    SetAlphaBlend(alphaBlend_);
}

void TForm::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    if (visible) {
        view_->setGeometry(left_, top_, width_, height_);
        if (OnShow)
            Application->Guard(OnShow);
        view_->setGeometry(left_, top_, width_, height_);
        view_->show();
    } else {
        view_->hide();
    }
}

bool TForm::closeQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        Application->Guard([&] { OnCloseQuery(canClose); });
    return canClose;
}

void TForm::Close()
{
    if (inModal_) {
        modalResult_ = static_cast<int>(2);
        return;
    }
    if (!closeQuery())
        return;
    TCloseAction action = this == Application->MainForm() ? TCloseAction::caFree : TCloseAction::caHide;
    if (OnClose)
        Application->Guard([&] { OnClose(action); });
    if (action == TCloseAction::caNone)
        return;
    Hide();
    if (this == Application->MainForm() && (action == TCloseAction::caFree || action == TCloseAction::caHide))
        Application->Terminate();
}

void TForm::UserCloseRequest()
{
    Close();
}

int TForm::ShowModal()
{
    return Application->Dialogs().RunModal(*this);
}

void TForm::BeginModal()
{
    modalResult_ = 0;
    inModal_ = true;
    view_->setWindowModality(Qt::ApplicationModal);
    SetVisible(true);
}

bool TForm::ModalDone()
{
    if (modalResult_ == 0)
        return false;
    if (!closeQuery()) {
        modalResult_ = 0;
        return false;
    }
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        Application->Guard([&] { OnClose(action); });
    if (action == TCloseAction::caNone) {
        modalResult_ = 0;
        return false;
    }
    inModal_ = false;
    SetVisible(false);
    view_->setWindowModality(Qt::NonModal);
    return true;
}

void TForm::DragAcceptFiles(bool accept)
{
    view_->acceptDrops = accept;
    view_->setAcceptDrops(accept);
}

void TForm::SetDialogBorder(bool closeBox)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox)
        flags |= Qt::WindowCloseButtonHint;
    view_->setWindowFlags(flags);
}

void TForm::CentreOver(const TForm& owner)
{
    SetBounds(owner.Left() + (owner.Width() - width_) / 2, owner.Top() + (owner.Height() - height_) / 2, width_,
              height_);
}

void TForm::BringToForeground()
{
    if (QGuiApplication::platformName() == "offscreen")
        return;
    view_->raise();
    view_->activateWindow();
}

void TForm::Dropped(const std::vector<std::string>& paths, TPoint at, bool inClient)
{
    if (OnDropFiles)
        Application->Guard([&] { OnDropFiles(paths, at, inClient); });
}
