// Forms over top-level QWidgets.
#include "platform/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/qt_views.h"

class FormView : public qtview::MouseView<QWidget> {
public:
    explicit FormView(TForm* form) : MouseView(form), form_(form) {}
    TForm* form() const { return form_; }
    bool acceptDrops = false;
    // The window this one is shown above, while it is modal.
    const QWidget* owner = nullptr;

protected:
    void showEvent(QShowEvent* event) override
    {
        // The window exists now and is not yet mapped: the window manager
        // takes the owner from the window's first appearance.
        windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
        QWidget::showEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        // The form decides; the view never closes on its own.
        event->ignore();
        form_->UserCloseRequest();
    }
    // Moves and resizes by the operator or the window manager arrive as
    // spontaneous events; those from code are already in the form.
    void moveEvent(QMoveEvent* event) override
    {
        QWidget::moveEvent(event);
        if (event->spontaneous())
            reportGeometry();
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        if (event->spontaneous())
            reportGeometry();
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
    void reportGeometry()
    {
        const QRect client = geometry();
        // The headless platform draws no frame, though it reports margins.
        const QRect frame = QGuiApplication::platformName() == "offscreen" ? client : frameGeometry();
        form_->WindowGeometryChanged({frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1},
                                     {client.left(), client.top(), client.right() + 1, client.bottom() + 1});
    }
    TForm* form_;
};

namespace {

// The modal forms on screen, the innermost last.
std::vector<TForm*> modalChain;

}  // namespace

TForm::TForm(TWinControl* owner) : TWinControl(nullptr, new FormView(this))
{
    (void)owner;
    view_ = static_cast<FormView*>(widget_);
    visible_ = false;
    color_ = clBtnFace;
}

TForm::~TForm()
{
    std::erase(modalChain, this);
}

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
    const int oldWidth = width_;
    const int oldHeight = height_;
    setBounds(left, top, width, height);
    if (width_ != oldWidth || height_ != oldHeight)
        clientSized_ = false;
}

void TForm::SetClientSize(int width, int height)
{
    setBounds(left_, top_, width + frame_.Left + frame_.Right, height + frame_.Top + frame_.Bottom);
    clientSized_ = true;
}

void TForm::setBounds(int left, int top, int width, int height)
{
    if (width != width_ || height != height_) {
        bool accept = true;
        if (OnCanResize)
            Application->Guard([&] { OnCanResize(width, height, accept); });
        if (!accept)
            return;
    }
    const bool sizeChanged = width != width_ || height != height_;
    const bool moved = left != left_ || top != top_;
    left_ = left;
    top_ = top;
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    applyGeometry(moved);
    if (sizeChanged && OnResize)
        Application->Guard(OnResize);
}

void TForm::applyGeometry(bool move)
{
    resizing_ = true;
    const QSize client(ClientWidth(), ClientHeight());
    if (view_->size() != client) {
        // Until the window system has caught up, it may still report the
        // size the window had: such reports are not the operator's.
        staleClient_ = {view_->width(), view_->height()};
        view_->resize(client);
    }
    // The window manager offers no resizing of a window whose smallest and
    // largest sizes are the same.
    if (fixedSize_)
        view_->setFixedSize(client);
    // A top-level window's move places its frame, where there is one. Only
    // moves from code: a window the frame has just moved stays put.
    if (move)
        view_->move(left_, top_);
    resizing_ = false;
}

void TForm::WindowGeometryChanged(const TRect& frame, const TRect& client)
{
    if (resizing_)
        return;
    const TPoint clientSize{client.Width(), client.Height()};
    if (clientSize == TPoint{ClientWidth(), ClientHeight()})
        staleClient_.reset();
    else if (staleClient_ && clientSize == *staleClient_)
        return;
    const TRect margins{client.Left - frame.Left, client.Top - frame.Top, frame.Right - client.Right,
                        frame.Bottom - client.Bottom};
    left_ = frame.Left;
    top_ = frame.Top;
    if (margins == frame_) {
        windowResized(frame.Width(), frame.Height(), false);
        return;
    }
    const TPoint heldClient{ClientWidth(), ClientHeight()};
    frame_ = margins;
    if (clientSized_) {
        // The window manager has framed the window (or changed its frame)
        // outside the client area the form set: only the outer bounds grow.
        width_ = heldClient.x + margins.Left + margins.Right;
        height_ = heldClient.y + margins.Top + margins.Bottom;
        applyGeometry(false);
        return;
    }
    // Framed around outer bounds the form set: they stay, and the client
    // gives way, which the form hears of as of any resize.
    windowResized(width_, height_, true);
}

void TForm::windowResized(int width, int height, bool clientChanged)
{
    if (!clientChanged && width == width_ && height == height_)
        return;
    int newWidth = width;
    int newHeight = height;
    bool accept = true;
    if (OnCanResize)
        Application->Guard([&] { OnCanResize(newWidth, newHeight, accept); });
    if (accept) {
        width_ = newWidth;
        height_ = newHeight;
    }
    // Refused or altered: the window takes the size the form holds.
    if (!accept || clientChanged || newWidth != width || newHeight != height)
        applyGeometry(false);
    if ((accept || clientChanged) && OnResize)
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
        applyGeometry(true);
        if (OnShow)
            Application->Guard(OnShow);
        applyGeometry(true);
        view_->show();
    } else {
        view_->hide();
        endModal();
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

TForm* TForm::ModalOwner()
{
    if (!modalChain.empty())
        return modalChain.back();
    if (const auto* active = dynamic_cast<const FormView*>(QApplication::activeWindow()))
        return active->form();
    TForm* main = Application->MainForm();
    return main && main->Visible() ? main : nullptr;
}

void TForm::BeginModal()
{
    modalResult_ = 0;
    inModal_ = true;
    // Transient for the window it blocks, so that the window manager keeps
    // it above that window (as that one above its own owner).
    const TForm* owner = ModalOwner();
    view_->owner = owner && owner != this ? owner->view_ : nullptr;
    modalChain.push_back(this);
    view_->setWindowModality(Qt::ApplicationModal);
    SetVisible(true);
}

void TForm::endModal()
{
    if (std::erase(modalChain, this) == 0)
        return;
    view_->owner = nullptr;
    if (view_->windowHandle())
        view_->windowHandle()->setTransientParent(nullptr);
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
    fixedSize_ = true;
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
