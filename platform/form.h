// A top-level window. Size changes from code or from the operator run
// OnCanResize (which may alter or refuse them) and then OnResize,
// synchronously; OnShow runs on every showing with Visible already true.
// Left/Top/Width/Height are the outer bounds, frame included, and follow the
// operator's moves and resizes; the client area is smaller by the window
// manager's frame, and equal without one (headless, or no window manager).
// When the frame appears or changes, what the form set last stays: a client
// size set with SetClientSize keeps the client area and the outer bounds
// grow by the frame (no resize events: the inside did not change); outer
// bounds set with SetBounds stay and the client gives way, which runs
// OnCanResize and OnResize as any size change does.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/control.h"

class FormView;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TForm : public TWinControl {
public:
    explicit TForm(TWinControl* owner);
    ~TForm() override;

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override { return std::max(width_ - frame_.Left - frame_.Right, 0); }
    int ClientHeight() const override { return std::max(height_ - frame_.Top - frame_.Bottom, 0); }
    // The inside of the window, whatever frame the window manager adds.
    void SetClientSize(int width, int height);

    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool on);
    int AlphaBlendValue() const { return alphaValue_; }
    void SetAlphaBlendValue(int value);

    void SetVisible(bool visible) override;
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Closes as the title-bar button would: OnCloseQuery, then OnClose.
    void Close();
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    bool InModal() const { return inModal_; }

    // The modal protocol of the dialog drivers: begin shows the form; done
    // reports whether a set modal result has closed it (a refused close
    // clears the result and keeps it open).
    void BeginModal();
    bool ModalDone();

    // Accepts dropped files; OnDropFiles gets the paths, the drop point in
    // client coordinates and whether it lies inside the client area.
    void DragAcceptFiles(bool accept);
    // A dialog's frame: no minimise or maximise button, and a size that only
    // the program changes; without the close box only the form's own
    // buttons close it. Set before the form is first shown.
    void SetDialogBorder(bool closeBox);
    // Places the form centred over another (the design's owner form).
    void CentreOver(const TForm& owner);
    void BringToForeground();
    // The window a modal window opened now belongs to: the innermost modal
    // form, else the active form, else the main form; null when none of
    // them is on screen. A modal form stays above it (and it above its own).
    static TForm* ModalOwner();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnResize;
    std::function<void(int& newWidth, int& newHeight, bool& resize)> OnCanResize;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(TCloseAction& action)> OnClose;
    std::function<void(const std::vector<std::string>& paths, TPoint at, bool inClient)> OnDropFiles;

    // Called by the view: the window system moved or resized the window
    // (frame and client rectangles in screen coordinates).
    void WindowGeometryChanged(const TRect& frame, const TRect& client);
    void UserCloseRequest();
    void Dropped(const std::vector<std::string>& paths, TPoint at, bool inClient);

protected:
    // Runs OnCreate; the derived form calls it at the end of its constructor.
    void Created();

private:
    bool closeQuery();
    void setBounds(int left, int top, int width, int height);
    void applyGeometry(bool move);
    void endModal();
    void windowResized(int width, int height, bool clientChanged);
    FormView* view_;
    TRect frame_;  // the frame's width on each side
    std::optional<TPoint> staleClient_;  // the client size before the last resize from here
    std::string caption_;
    bool alphaBlend_ = false;
    int alphaValue_ = 255;
    int modalResult_ = 0;
    bool inModal_ = false;
    bool resizing_ = false;
    bool clientSized_ = false;  // a frame change keeps the client area
    bool fixedSize_ = false;  // the operator cannot resize the window
};
