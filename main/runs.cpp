// Finishing photos: the batch with its progress, counts and abort, the single
// run, the skip, the high-quality preview and the preview refresh.
#include <cstdint>

#include "dialogs/histogram_form.h"
#include "main/busy_scope.h"
#include "main/main_form.h"
#include "main/status_texts.h"
#include "main/work_ahead.h"
#include "platform/application.h"
#include "platform/jpeg_prefetch.h"
#include "platform/text_format.h"

void TForm1::BitBtn12Click()
{
    BusyScope busy(*this, BusyScope::DisableButtons);
    if (!busy.Entered())
        return;
    AbortRequested = false;
    OverwriteConfirmed = false;
    RunBatch();
    OverwriteConfirmed = false;
    busy.End();
    if (batchCompleted_)
        DisableRunButtons();
}

void TForm1::RunBatch()
{
    batchCompleted_ = false;
    auto refuse = [&](const char* message) { Application->MessageBox(message, MessageCaption, MB_OK); };
    if (Edit1->Text().empty())
        return refuse("入力フォルダが指定されていません。");
    if (Edit2->Text().empty())
        return refuse("出力フォルダが指定されていません。");
    if (Edit3->Text().empty())
        return refuse("枠ファイルが指定されていません。");
    if (FrameLayout.Framewidth <= 0 || FrameLayout.Frameheight <= 0)
        return refuse("枠ファイルサイズが指定されていません。");
    if (!followEdit1())
        return;
    const int count = Memo2->Lines().Count();
    if (count <= PhotoIndex)
        return refuse("これ以上写真画像はありません。");

    ProgressBar1->SetVisible(true);
    AbortRequested = false;
    // Saved files are counted as they are left: a picture written over by a
    // later photo of the batch counts once.
    const std::uint64_t savesBefore = overwriteCheck_.Mark();
    int errors = 0;
    int skips = 0;
    Memo1->Lines().Clear();
    ProgressBar1->SetPosition(0);
    if (PhotoIndex != 0 && Application->MessageBox("最初の写真から処理しますか？", MessageCaption, MB_YESNO) == IDYES)
        PhotoIndex = 0;

    // Photos decoded or worked ahead and never used are dropped when the
    // run ends.
    workAhead_ = std::make_unique<WorkAhead>();
    struct DropWorkAhead {
        JpegPrefetch& prefetch;
        std::unique_ptr<WorkAhead>& workAhead;
        ~DropWorkAhead()
        {
            prefetch.DropAll();
            workAhead.reset();
        }
    } dropAtEnd{prefetch_, workAhead_};
    for (int i = PhotoIndex; i < count; ++i) {
        const std::string name = Memo2->Lines()[PhotoIndex];
        // This photo and the next two are decoded on other cores: those
        // while this one is finished, this one (the first) while the next
        // starts. Two ahead decode on two cores at once: one decode takes
        // about as long as the rest of a photo's work. The memory bound may
        // leave fewer. A photo worked ahead has been decoded already. A new
        // decode takes over the storage of the fitting's intermediate, which
        // the photo before left and this one makes afresh.
        const bool decoded = name == CachedPhotoPath || name == workAhead_->path;
        decodeAhead(decoded ? PhotoIndex + 1 : PhotoIndex, PhotoIndex + 2);
        Memo1->Lines().Add(name);
        pumpBetweenPhotos();
        if (AbortRequested) {
            Application->MessageBox("中断しました。", MessageCaption, MB_OK);
            Memo1->Lines().Add("中断");
            break;
        }
        int rc = 0;
        try {
            rc = ComposeAndSave(name, false, true);
        } catch (const std::bad_alloc& failure) {
            rc = photoOutOfMemory(name, failure);
        }
        if (rc == -1) {
            AbortRequested = true;
            break;
        }
        if (rc <= -4) {
            ++errors;
            AbortRequested = true;
            break;
        }
        ++PhotoIndex;
        if (rc == -2) {
            ++skips;
            continue;
        }
        if (rc == -3) {
            ++errors;
            continue;
        }
        showThumbnail(*OutputBitmap);
        StatusBar1->Panels(1).SetText(name);
        const int pct = (i * 100 + 100) / count;
        ProgressBar1->SetPosition(pct);
        StatusBar1->Panels(0).SetText(
            Format(kBatchProgressText, pct, i + 1, count, errors, skips));
        StatusBar1->Repaint();
    }

    listSkips_ += skips;
    listErrors_ += errors;
    const int saved = overwriteCheck_.FilesSavedSince(savesBefore);
    std::string summary;
    if (AbortRequested) {
        summary = Format(kRunAbortSummary, saved, errors, skips);
    } else {
        batchCompleted_ = true;
        summary = Format(kRunEndSummary, saved, errors, skips);
    }
    Application->MessageBox(summary, MessageCaption, MB_OK);
    StatusBar1->Panels(0).SetText(summary);
    StatusBar1->Repaint();
}

int TForm1::photoOutOfMemory(const std::string& path, const std::bad_alloc& failure)
{
    // The box a single run shows for it; then the photo is one that could
    // not be read, and the operator stops the batch or goes on without it.
    Application->ShowException(failure);
    return askAbortOrSkip(path, "JPEGファイルを読み込めませんでした。中断しますか？",
                          TApplication::ExceptionMessage(failure));
}

void TForm1::showThumbnail(const TBitmap& picture)
{
    if (Image10->Visible())
        ShowFitted(picture, 10);
}

void TForm1::finishList(bool resetCorrections, const std::string& message)
{
    Application->MessageBox(message, MessageCaption, MB_OK);
    ResetWorkState();
    if (resetCorrections) {
        ResetCorrections();
        Form8->ClearHistograms();
    }
    ApplyFrameLayout(ComboBox1->ItemIndex());
    RefreshLayoutPreview();
}

void TForm1::showNextPhoto(const std::string& name, bool fullQuality)
{
    if (name.empty() || LoadPhoto(name) != 0)
        return;
    showThumbnail(*PhotoBitmap);
    if (fullQuality)
        ComposeAndSave("", false, true);
    else
        RefreshPreview();
    StatusBar1->Panels(1).SetText(name);
}

void TForm1::BitBtn3Click()
{
    BusyScope busy(*this, BusyScope::DisableButtons);
    if (!busy.Entered() || !followEdit1())
        return;
    AbortRequested = false;
    const int count = Memo2->Lines().Count();
    if (count <= PhotoIndex) {
        Application->MessageBox("これ以上写真画像はありません。", MessageCaption, MB_OK);
        busy.End();
        DisableRunButtons();
        return;
    }
    const int rc = ComposeAndSave(Memo2->Lines()[PhotoIndex], false, false);
    pump();
    if (rc == 0 || rc == -2) {
        ++PhotoIndex;
        listSkips_ += rc == -2;
        if (PhotoIndex >= count) {
            ProgressBar1->SetPosition(PhotoIndex * 100 / count);
            busy.End();
            // A last photo that was not saved (the save dialog cancelled, a
            // photo skipped) is no completed work: the box says what the
            // list's runs did, as a batch's summary does.
            finishList(true, rc == 0 ? std::string("完了しました。")
                                     : Format(kRunEndSummary, overwriteCheck_.FilesSavedSince(0), listErrors_,
                                              listSkips_));
            return;
        }
        showNextPhoto(Memo2->Lines()[PhotoIndex], true);
    }
    ProgressBar1->SetPosition(PhotoIndex * 100 / count);
}

void TForm1::BitBtn11Click()
{
    BusyScope busy(*this, BusyScope::DisableButtons);
    if (!busy.Entered() || !followEdit1())
        return;
    AbortRequested = false;
    const int count = Memo2->Lines().Count();
    if (PhotoIndex < count) {
        ++PhotoIndex;
        ++listSkips_;
        ProgressBar1->SetPosition(PhotoIndex * 100 / count);
        if (PhotoIndex >= count) {
            busy.End();
            DisableRunButtons();
            finishList(false, "完了しました。");
            return;
        }
    }
    showNextPhoto(Memo2->Lines()[PhotoIndex], false);
}

void TForm1::BitBtn15Click()
{
    if (Application->MessageBox("中断して宜しいですか？", MessageCaption, MB_YESNO) != IDNO)
        AbortRequested = true;
}

void TForm1::BitBtn8Click()
{
    BusyScope busy(*this, BusyScope::DisableButtons);
    if (!busy.Entered())
        return;
    AbortRequested = false;
    ComposeAndSave("", false, true);
}

void TForm1::RefreshPreview()
{
    AbortRequested = false;
    if (!Memo2->Lines()[PhotoIndex].empty())
        ComposeAndSave("", !CheckBox4->Checked(), true);
}

void TForm1::BitBtn4Click()
{
    BusyScope busy(*this);
    if (busy.Entered())
        RefreshPreview();
}
