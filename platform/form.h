// A top-level window. Size changes from code or from the operator run
// OnCanResize (which may alter or refuse them) and then OnResize,
// synchronously; OnShow runs on every showing with Visible already true.
// Width/Height are the outer bounds; without a window manager frame (headless
// and under Xvfb) they equal the client size.
#pragma once

#include <functional>
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
    int ClientWidth() const override { return width_; }
    int ClientHeight() const override { return height_; }
    void SetClientSize(int width, int height) { SetBounds(Left(), Top(), width, height); }

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
    // A dialog's frame; without the close box only the form's own buttons
    // close it. Set before the form is first shown.
    void SetDialogBorder(bool closeBox);
    // Places the form centred over another (the design's owner form).
    void CentreOver(const TForm& owner);
    void BringToForeground();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnResize;
    std::function<void(int& newWidth, int& newHeight, bool& resize)> OnCanResize;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(TCloseAction& action)> OnClose;
    std::function<void(const std::vector<std::string>& paths, TPoint at, bool inClient)> OnDropFiles;

    // Called by the view.
    void UserResized(int width, int height);
    void UserCloseRequest();
    void Dropped(const std::vector<std::string>& paths, TPoint at, bool inClient);

protected:
    // Runs OnCreate; the derived form calls it at the end of its constructor.
    void Created();

private:
    bool closeQuery();
    FormView* view_;
    std::string caption_;
    bool alphaBlend_ = false;
    int alphaValue_ = 255;
    int modalResult_ = 0;
    bool inModal_ = false;
    bool resizing_ = false;
};
