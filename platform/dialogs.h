// Message boxes, file, folder and font dialogs, and modal forms all go through
// one driver: the interactive one shows Qt dialogs; tests install a scripted
// one that answers in order and records what it was not told to expect,
// so that no test ever waits on a modal window.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/font.h"

class TForm;

constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// File dialog options (subset that the forms set).
enum TOpenOption : unsigned {
    ofOverwritePrompt = 1,
    ofHideReadOnly = 2,
    ofPathMustExist = 4,
    ofFileMustExist = 8,
    ofNoReadOnlyReturn = 16,
    ofEnableSizing = 32,
};

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string initialDir;
    std::string fileName;
    std::string filter;  // "Text|pattern|Text|pattern"
    int filterIndex = 1;
    unsigned options = 0;
};

class DialogDriver {
public:
    virtual ~DialogDriver() = default;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // The chosen files; empty when cancelled.
    virtual std::vector<std::string> FileDialog(const FileDialogRequest& request) = 0;
    // The chosen folder without a trailing "/", or "" when cancelled.
    virtual std::string BrowseForFolder() = 0;
    // Edits the font in place; false when cancelled. The colour is kept.
    virtual bool ChooseFont(TFont& font) = 0;
    virtual int RunModal(TForm& form) = 0;
};

class QtDialogDriver : public DialogDriver {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    std::vector<std::string> FileDialog(const FileDialogRequest& request) override;
    std::string BrowseForFolder() override;
    bool ChooseFont(TFont& font) override;
    int RunModal(TForm& form) override;
};

// Answers dialogs from a script, in order. Each expectation may check the
// text (a substring), the caption and the flags; an interaction that does not
// match, or comes when the script is empty, is recorded in Failures() and
// answered with "cancel" (IDCANCEL, no file, no folder, no font).
class ScriptedDialogDriver : public DialogDriver {
public:
    struct Expectation {
        enum class Kind { Message, File, Folder, Font, Modal } kind = Kind::Message;
        std::optional<std::string> text;
        std::optional<std::string> caption;
        std::optional<unsigned> flags;
        int answer = IDOK;
        std::vector<std::string> files;
        std::string folder;
        std::function<bool(TFont&)> font;
        std::function<void(TForm&)> modal;
        std::function<void(const FileDialogRequest&)> checkFile;
    };

    ScriptedDialogDriver& Message(const std::string& textContains, int answer,
                                  std::optional<std::string> caption = std::nullopt,
                                  std::optional<unsigned> flags = std::nullopt);
    ScriptedDialogDriver& File(std::vector<std::string> files,
                               std::function<void(const FileDialogRequest&)> check = {});
    ScriptedDialogDriver& Folder(const std::string& folder);
    ScriptedDialogDriver& Font(std::function<bool(TFont&)> edit);
    // The callback runs after OnShow against the live form and should end by
    // setting a modal result or closing it; a form still open is cancelled.
    ScriptedDialogDriver& Modal(std::function<void(TForm&)> interact);

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    std::vector<std::string> FileDialog(const FileDialogRequest& request) override;
    std::string BrowseForFolder() override;
    bool ChooseFont(TFont& font) override;
    int RunModal(TForm& form) override;

    bool AllUsed() const { return script_.empty(); }
    int Remaining() const { return static_cast<int>(script_.size()); }
    const std::vector<std::string>& Failures() const { return failures_; }
    // Every interaction in order, e.g. "message[Plovis]: text -> 6".
    const std::vector<std::string>& Transcript() const { return transcript_; }

private:
    std::optional<Expectation> next(Expectation::Kind kind, const std::string& what);
    std::deque<Expectation> script_;
    std::vector<std::string> failures_;
    std::vector<std::string> transcript_;
};

// The form-side dialog objects, as the forms hold them.
class TOpenDialog {
public:
    std::string Title;
    std::string InitialDir;
    std::string FileName;
    std::string Filter;
    int FilterIndex = 1;
    unsigned Options = 0;
    std::vector<std::string> Files;
    bool Execute();

protected:
    bool save_ = false;
};

class TSaveDialog : public TOpenDialog {
public:
    TSaveDialog() { save_ = true; }
};

using TOpenPictureDialog = TOpenDialog;
using TSavePictureDialog = TSaveDialog;

class TFontDialog {
public:
    TFont Font;
    bool Execute();
};
