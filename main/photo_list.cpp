// The photo list: folder scans, drops on the window, the photo open dialog
// and the output folder browser.
#include "dialogs/histogram_form.h"
#include "main/busy_scope.h"
#include "main/main_form.h"
#include "main/status_texts.h"
#include "pipeline/output_path.h"
#include "platform/application.h"
#include "platform/file_path.h"
#include "platform/file_system.h"
#include "platform/text_format.h"

namespace {

// A file the photo list may be on its own: a JPEG name, not a folder.
bool IsPhotoFile(const std::string& path)
{
    return FileExists(path) && HasJpgExtension(path);
}

}  // namespace

void TForm1::FormMouseMove(TShiftState, int x, int y)
{
    LastMouseX = x;
    LastMouseY = y;
}

void TForm1::ScrollBox1MouseMove(TShiftState, int x, int y)
{
    LastMouseX = x + ScrollBox1->Left();
    LastMouseY = y + ScrollBox1->Top();
}

void TForm1::Edit2MouseMove(TShiftState, int x, int y)
{
    LastMouseX = x + Edit2->Left();
    LastMouseY = y + Edit2->Top();
}

void TForm1::WMDropFiles(const std::vector<std::string>& paths, bool inClient)
{
    BringToForeground();
    // A drop while a run works on the list changes nothing: it would swap
    // the list or the output folder under the running batch.
    if (Busy)
        return;
    const bool dropped = !paths.empty() && inClient;
    const bool onOutputField = LastMouseX >= Edit2->Left() && LastMouseX <= Edit2->Left() + Edit2->Width() &&
                               LastMouseY >= Edit2->Top() && LastMouseY <= Edit2->Top() + Edit2->Height();
    if (dropped && onOutputField) {
        const std::string& item = paths.front();
        ScanDroppedItems(paths);
        std::string folder = DirectoryExists(item) ? item : ExcludeTrailingPathDelimiter(ExtractFilePath(item));
        if (EndsWithBackslash(folder) != 1)
            folder += "/";
        Edit2->SetText(folder);
        return;
    }
    takePhotoPaths(dropped ? paths : std::vector<std::string>{});
}

void TForm1::Edit1KeyUp(unsigned short& key, TShiftState)
{
    if (key != VK_RETURN || Busy)
        return;
    takePathWhole(*Edit1);
    if (photoFieldNamesPhotos())
        takePhotoPaths({Edit1->Text()});
}

bool TForm1::photoFieldNamesPhotos()
{
    const std::string path = Edit1->Text();
    std::vector<std::string> found;
    if (DirectoryExists(path)) {
        SubFolderCount = FileCount = JpegCount = 0;
        ScanFolderForJpeg(path, found);
    }
    if (IsPhotoFile(path) || !found.empty())
        return true;
    Application->MessageBox(path.empty() ? "入力フォルダが指定されていません。"
                                         : "写真フォルダにJPEGファイルが存在しません。",
                            MessageCaption, MB_OK);
    // The photo shown stays in work with its corrections; the field names
    // its list again, so a run works on what the operator sees.
    if (Memo2->Lines().Count() > 0)
        Edit1->SetText(photoListSource_);
    return false;
}

void TForm1::takePhotoPaths(const std::vector<std::string>& items)
{
    bool singleFile = false;
    if (!items.empty()) {
        const std::string& item = items.front();
        ScanDroppedItems(items);
        const bool isFolder = DirectoryExists(item);
        Edit1->SetText(item);
        if (isFolder) {
            BitBtn11->SetVisible(true);
        } else {
            Memo2->Lines().Assign({item});
            photoListSource_ = item;
            BitBtn11->SetVisible(false);
            singleFile = true;
        }
        if (Edit2->Text().empty()) {
            const std::string parent = ExtractFilePath(ExcludeTrailingPathDelimiter(Edit1->Text()));
            Edit2->SetText(isFolder ? parent + PreSaveFolderName + ExtractFileName(ExcludeTrailingPathDelimiter(item))
                                    : ExtractFilePath(item));
        }
        StatusBar1->Panels(0).SetText(Format(kScanCountsText, SubFolderCount, FileCount, JpegCount));
    }
    BusyScope busy(*this);
    if (!singleFile)
        BuildPhotoList();
    startNewList();
}

void TForm1::startNewList()
{
    // A new list: an earlier Yes to overwriting was given for the old one,
    // and a new run begins over its photos.
    OverwriteConfirmed = false;
    overwriteCheck_.BeginRun(Memo2->Lines().Lines());
    listSkips_ = listErrors_ = 0;
    ProgressBar1->SetPosition(0);
    ResetCorrections();
    PhotoIndex = 0;
    const std::string first = Memo2->Lines()[0];
    if (first.empty() || LoadPhoto(first) != 0)
        return;
    showThumbnail(*PhotoBitmap);
    RefreshPreview();
    BuildHistogramSet(*PhotoBitmap, 0);
    Form8->DrawHistograms(0, HistogramBefore, HistogramAfter);
    StatusBar1->Panels(1).SetText(first);
    ResetPositionAndEnableRun();
}

bool TForm1::followEdit1()
{
    // A path typed into a field still holding the focus is taken now,
    // before a save of this run makes the output folder current.
    takePathWhole(*Edit1);
    takePathWhole(*Edit2);
    const std::string source = Edit1->Text();
    if (source.empty() || source == photoListSource_)
        return true;
    if (!photoFieldNamesPhotos())
        return false;
    const std::vector<std::string> inWork = Memo2->Lines().Lines();
    if (IsPhotoFile(source)) {
        Memo2->Lines().Assign({source});
        photoListSource_ = source;
    } else {
        BuildPhotoList();
    }
    // The same photos under another spelling of their folder: the photo
    // shown is saved with the corrections it shows.
    if (Memo2->Lines().Lines() != inWork)
        startNewList();
    return true;
}

void TForm1::takePathWhole(TEdit& field)
{
    field.SetText(AbsolutePath(field.Text()));
}

void TForm1::pathFieldLeft(TEdit& field)
{
    // During a run the fields are what the run reads.
    if (!Busy)
        takePathWhole(field);
}

void TForm1::Edit2Change()
{
    // An earlier Yes to overwriting was given for another output folder.
    OverwriteConfirmed = false;
}

void TForm1::ScanDroppedItems(const std::vector<std::string>& items)
{
    if (!items.empty())
        ScanDroppedFolder(items.front());
}

bool TForm1::ScanDroppedFolder(const std::string& path)
{
    SubFolderCount = FileCount = JpegCount = 0;
    Memo1->Lines().Clear();
    std::vector<std::string> found;
    ScanFolderForJpeg(path, found);
    for (const auto& photo : found)
        Memo1->Lines().Add(photo);
    return true;
}

void TForm1::ScanFolderForJpeg(const std::string& folder, std::vector<std::string>& list)
{
    const std::string prefix = EndsWithBackslash(folder) == 1 ? folder : folder + "/";
    std::vector<DirEntry> entries;
    if (!ListDirectory(prefix, entries))
        return;
    for (const DirEntry& entry : entries) {
        if (entry.isFolder) {
            ++SubFolderCount;
            // Links to folders are counted but not followed: a link back to
            // a parent would never end and would list photos twice.
            if (CheckBox1->Checked() && !entry.isSymlink)
                ScanFolderForJpeg(prefix + entry.name, list);
            continue;
        }
        ++FileCount;
        if (HasJpgExtension(entry.name)) {
            list.push_back(prefix + entry.name);
            ++JpegCount;
        }
    }
}

void TForm1::BuildPhotoList()
{
    auto refuse = [&](const char* message) { Application->MessageBox(message, MessageCaption, MB_OK); };
    if (Edit1->Text().empty())
        return refuse("入力フォルダが指定されていません。");
    if (Edit3->Text().empty() || FrameLayout.Framewidth <= 0 || FrameLayout.Frameheight <= 0)
        return refuse("枠ファイルが指定されていません。");
    takePathWhole(*Edit1);
    SubFolderCount = FileCount = JpegCount = 0;
    Memo2->Lines().Clear();
    photoListSource_ = Edit1->Text();
    std::vector<std::string> found;
    ScanFolderForJpeg(Edit1->Text(), found);
    if (JpegCount > 0)
        Memo2->Lines().Assign(found);
    else
        refuse("写真フォルダにJPEGファイルが存在しません。");
}

int TForm1::OpenPhotoFile()
{
    TOpenPictureDialog& dialog = *OpenPictureDialog1;
    dialog.Options = 0;
    dialog.Title = "画像選択";
    dialog.InitialDir = photoListFolder();
    dialog.Filter = "JPEG (*.jpg)|*.jpg;*.JPG|All files (*.*)|*.*";
    if (!dialog.Execute() || dialog.Files.size() != 1)
        return -1;
    const std::string& name = dialog.FileName;
    if (name.size() < 3)
        return -1;
    const std::string tail = name.substr(name.size() - 3);
    auto is = [](char c, char lower) { return c == lower || c == lower - 32; };
    if (!(is(tail[0], 'j') && is(tail[1], 'p') && is(tail[2], 'g')))
        return -1;
    Memo2->Lines().Add(name);
    Edit1->SetText(name);
    photoListSource_ = name;
    return 0;
}

std::string TForm1::photoListFolder() const
{
    // The photo field names the folder or the photo the list was made from.
    const std::string source = Edit1->Text();
    if (!source.empty() && DirectoryExists(source))
        return IncludeTrailingPathDelimiter(source);
    if (!source.empty() && FileExists(source))
        return ExtractFilePath(source);
    return HomeFolder();
}

int TForm1::BrowseSaveFolder()
{
    const std::string path = Application->Dialogs().BrowseForFolder();
    // Only a cancel gives no path; "/" is a folder like any other.
    if (path.empty())
        return -1;
    if (!SetCurrentDirectory(path)) {
        Application->MessageBox("入力フォルダの指定が無効か使用不能です。", MessageCaption, MB_OK);
        return -1;
    }
    Edit2->SetText(EndsWithBackslash(path) == 1 ? path : path + "/");
    return 0;
}

void TForm1::BitBtn1Click()
{
    BusyScope busy(*this);
    if (busy.Entered())
        BitBtn6->Click();
}

void TForm1::BitBtn13Click()
{
    BusyScope busy(*this);
    if (busy.Entered())
        BrowseSaveFolder();
}
