// The dialog drivers and the form-side dialog objects.
#include "platform/dialogs.h"

#include <cstdlib>
#include <set>
#include <utility>

#include <QEventLoop>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimer>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/qt_font.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The window a box or dialog opened now belongs to, as its parent: the
// window manager keeps it above that window.
QWidget* OwnerWidget()
{
    const TForm* owner = TForm::ModalOwner();
    return owner ? owner->Widget() : nullptr;
}

// A dialog of a call, on the heap: deleted when the call ends, unless its
// owner window went first. A program that ends while a dialog is up (its
// display gone) deletes its windows without returning from the call, and a
// dialog on the stack would then be deleted by its owner as well.
template <typename Dialog>
class CallDialog {
public:
    explicit CallDialog(QWidget* owner) : dialog_(new Dialog(owner))
    {
        // The first showing of a kind makes Qt's statics for it.
        static bool shownBefore = false;
        if (!std::exchange(shownBefore, true))
            QTimer::singleShot(0, [] { Application->ShutdownBeforeStaticsMadeSoFar(); });
    }
    ~CallDialog() { delete dialog_.data(); }
    CallDialog(const CallDialog&) = delete;
    CallDialog& operator=(const CallDialog&) = delete;
    Dialog& operator*() const { return *dialog_; }

private:
    QPointer<Dialog> dialog_;
};

// A box is at least as wide as its caption needs in a title bar, which
// also holds the window's icon and up to three buttons: a short text would
// otherwise leave the caption cut to its first letter.
void KeepCaptionWhole(QMessageBox& box)
{
    constexpr int kTitleBarButtonsRoom = 120;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

// Qt gives a window without a title the program's name; a box meant to
// have an empty caption shows none.
QString WindowTitle(const std::string& caption)
{
    return caption.empty() ? QStringLiteral(" ") : Q(caption);
}

// "Text|*.jpg|All|*.*" becomes Qt's "Text (*.jpg);;All (*)"; "*.*" would miss
// names without a dot here.
QStringList QtFilters(const std::string& filter)
{
    QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace("*.*", "*");
        pattern.replace(';', ' ');
        filters << parts[i] + " (" + pattern + ")";
    }
    return filters;
}

}  // namespace

int QtDialogDriver::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    const CallDialog<QMessageBox> owned(OwnerWidget());
    QMessageBox& box = *owned;
    box.setWindowTitle(WindowTitle(caption));
    box.setText(Q(text));
    const unsigned buttons = flags & 0xF;
    if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        if (buttons == MB_YESNOCANCEL)
            box.addButton(QMessageBox::Cancel);
        box.setDefaultButton((flags & MB_DEFBUTTON2) ? no : yes);
    } else {
        box.addButton(QMessageBox::Ok);
    }
    KeepCaptionWhole(box);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    switch (clicked) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Ok:
        return IDOK;
    default:
        // A Yes/No box closed without a choice counts as No.
        return buttons == MB_YESNO ? IDNO : IDCANCEL;
    }
}

std::vector<std::string> QtDialogDriver::FileDialog(const FileDialogRequest& request)
{
    const CallDialog<QFileDialog> owned(OwnerWidget());
    QFileDialog& dialog = *owned;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The forms ask their own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setWindowTitle(Q(request.title));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[request.filterIndex - 1]);
    }
    if (!request.initialDir.empty())
        dialog.setDirectory(Q(request.initialDir));
    if (!request.fileName.empty())
        dialog.selectFile(Q(request.fileName));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    std::vector<std::string> files;
    for (const QString& file : dialog.selectedFiles())
        files.push_back(file.toStdString());
    return files;
}

std::string QtDialogDriver::BrowseForFolder()
{
    const CallDialog<QFileDialog> owned(OwnerWidget());
    QFileDialog& dialog = *owned;
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    std::string path = dialog.selectedFiles().front().toStdString();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool QtDialogDriver::ChooseFont(TFont& font)
{
    // The dialog lists installed families and point sizes: it opens on the
    // family the font's name stands for and its size in points, or it would
    // show its own default ("Sans Serif") and OK would take that.
    QFont start = QFontFromFont(font);
    start.setFamily(QFontInfo(start).family());
    start.setPointSizeF(std::abs(font.Height()) * 72.0 / kScreenPixelsPerInch);
    const CallDialog<QFontDialog> owned(OwnerWidget());
    QFontDialog& dialog = *owned;
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(start);
    // What the dialog shows at first; whatever the operator leaves as shown
    // keeps the font's own value (its stored name, its exact height, a
    // style the family cannot show).
    const QFont shown = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = dialog.selectedFont();
    if (chosen.family() != shown.family())
        font.SetName(chosen.family().toStdString());
    if (chosen.pointSizeF() != shown.pointSizeF())
        font.SetSize(static_cast<int>(chosen.pointSizeF() + 0.5));
    TFontStyles style = font.Style();
    auto take = [&](bool now, bool before, TFontStyle flag) {
        if (now != before)
            style = now ? (style | flag) : (style & ~flag);
    };
    take(chosen.bold(), shown.bold(), fsBold);
    take(chosen.italic(), shown.italic(), fsItalic);
    take(chosen.underline(), shown.underline(), fsUnderline);
    take(chosen.strikeOut(), shown.strikeOut(), fsStrikeOut);
    font.SetStyle(style);
    return true;
}

int QtDialogDriver::RunModal(TForm& form)
{
    // A form's first modal showing may make Qt's statics for its controls.
    static std::set<const TForm*> shownBefore;
    if (shownBefore.insert(&form).second)
        QTimer::singleShot(0, [] { Application->ShutdownBeforeStaticsMadeSoFar(); });
    form.BeginModal();
    QEventLoop loop;
    while (!form.ModalDone()) {
        if (!form.Visible())
            form.SetModalResult(IDCANCEL);
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    return form.ModalResult();
}

ScriptedDialogDriver& ScriptedDialogDriver::Message(const std::string& textContains, int answer,
                                                    std::optional<std::string> caption, std::optional<unsigned> flags)
{
    Expectation e;
    e.kind = Expectation::Kind::Message;
    e.text = textContains;
    e.caption = std::move(caption);
    e.flags = flags;
    e.answer = answer;
    script_.push_back(std::move(e));
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::File(std::vector<std::string> files,
                                                 std::function<void(const FileDialogRequest&)> check)
{
    Expectation e;
    e.kind = Expectation::Kind::File;
    e.files = std::move(files);
    e.checkFile = std::move(check);
    script_.push_back(std::move(e));
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Folder(const std::string& folder)
{
    Expectation e;
    e.kind = Expectation::Kind::Folder;
    e.folder = folder;
    script_.push_back(std::move(e));
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Font(std::function<bool(TFont&)> edit)
{
    Expectation e;
    e.kind = Expectation::Kind::Font;
    e.font = std::move(edit);
    script_.push_back(std::move(e));
    return *this;
}

ScriptedDialogDriver& ScriptedDialogDriver::Modal(std::function<void(TForm&)> interact)
{
    Expectation e;
    e.kind = Expectation::Kind::Modal;
    e.modal = std::move(interact);
    script_.push_back(std::move(e));
    return *this;
}

std::optional<ScriptedDialogDriver::Expectation> ScriptedDialogDriver::next(Expectation::Kind kind,
                                                                            const std::string& what)
{
    if (script_.empty() || script_.front().kind != kind) {
        failures_.push_back("unexpected " + what);
        return std::nullopt;
    }
    Expectation e = std::move(script_.front());
    script_.pop_front();
    return e;
}

int ScriptedDialogDriver::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    const std::string what = "message[" + caption + "]: " + text;
    auto e = next(Expectation::Kind::Message, what);
    if (!e) {
        transcript_.push_back(what + " -> unexpected");
        return IDCANCEL;
    }
    if (e->text && text.find(*e->text) == std::string::npos)
        failures_.push_back("message text: expected \"" + *e->text + "\" in \"" + text + "\"");
    if (e->caption && caption != *e->caption)
        failures_.push_back("message caption: expected \"" + *e->caption + "\", got \"" + caption + "\"");
    if (e->flags && flags != *e->flags)
        failures_.push_back("message flags: expected " + std::to_string(*e->flags) + ", got " + std::to_string(flags) +
                            " for \"" + text + "\"");
    transcript_.push_back(what + " -> " + std::to_string(e->answer));
    return e->answer;
}

std::vector<std::string> ScriptedDialogDriver::FileDialog(const FileDialogRequest& request)
{
    const std::string what = std::string(request.save ? "save" : "open") + " dialog: " + request.title;
    auto e = next(Expectation::Kind::File, what);
    transcript_.push_back(what + " [" + request.fileName + "]");
    if (!e)
        return {};
    if (e->checkFile)
        e->checkFile(request);
    return e->files;
}

std::string ScriptedDialogDriver::BrowseForFolder()
{
    auto e = next(Expectation::Kind::Folder, "folder browser");
    transcript_.push_back("folder browser");
    return e ? e->folder : std::string();
}

bool ScriptedDialogDriver::ChooseFont(TFont& font)
{
    auto e = next(Expectation::Kind::Font, "font dialog");
    transcript_.push_back("font dialog");
    return e && e->font && e->font(font);
}

int ScriptedDialogDriver::RunModal(TForm& form)
{
    auto e = next(Expectation::Kind::Modal, "modal form " + form.Caption());
    transcript_.push_back("modal form " + form.Caption());
    form.BeginModal();
    if (e && e->modal)
        Application->Guard([&] { e->modal(form); });
    if (form.ModalResult() == 0 || !form.ModalDone()) {
        form.SetModalResult(IDCANCEL);
        if (!form.ModalDone()) {
            failures_.push_back("modal form " + form.Caption() + " refused to close");
            form.Hide();
        }
    }
    return form.ModalResult();
}

bool TOpenDialog::Execute()
{
    FileDialogRequest request;
    request.save = save_;
    request.title = Title;
    request.initialDir = InitialDir;
    request.fileName = FileName;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.options = Options;
    Files = Application->Dialogs().FileDialog(request);
    if (Files.empty())
        return false;
    FileName = Files.front();
    return true;
}

bool TFontDialog::Execute()
{
    return Application->Dialogs().ChooseFont(Font);
}
