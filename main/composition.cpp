// Composing the finished picture of one photo and saving it as a JPEG with
// the 300 dpi stamp.
#include <cerrno>
#include <chrono>

#include "dialogs/preferences_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "main/work_ahead.h"
#include "pipeline/background_jpeg_save.h"
#include "pipeline/frame_composition.h"
#include "pipeline/frame_image.h"
#include "pipeline/jpeg_saving.h"
#include "pipeline/output_path.h"
#include "platform/application.h"
#include "platform/file_path.h"
#include "platform/file_system.h"
#include "platform/text_format.h"

namespace {

constexpr int kOutputDpi = 300;

// Why a picture could not be saved, in the operator's words.
std::string SaveFailureReason(const FileFailure& failure)
{
    switch (failure.code) {
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空き容量が足りません。";
    case EROFS:
        return "読み取り専用のファイルシステムです。";
    case EACCES:
    case EPERM:
        return "書き込みの権限がありません。";
    case EISDIR:
        return "同じ名前のフォルダがあります。";
    case ENOMEM:
        return "メモリが足りません。";
    case EIO:
        return "書き込み中に入出力エラーが起きました。";
    case 0:
        return Format("画像を書き出せませんでした。(%s)", failure.text.c_str());
    default:
        return Format("システムのエラーです。(%s)", failure.text.c_str());
    }
}

}  // namespace

int TForm1::ComposeAndSave(const std::string& path, bool preview, bool show)
{
    auto refuse = [&](const char* message) {
        Application->MessageBox(message, MessageCaption, MB_OK);
        return -1;
    };
    if (Edit1->Text().empty())
        return refuse("入力フォルダが指定されていません。");
    if (!preview && !path.empty() && Edit2->Text().empty())
        return refuse("出力フォルダが指定されていません。");
    if (Edit3->Text().empty() || FrameLayout.Framewidth <= 0 || FrameLayout.Frameheight <= 0)
        return refuse("枠ファイルが指定されていません。");

    const TCursor savedCursor = Screen->Cursor();
    Screen->SetCursor(TCursor::crHourGlass);
    Image1->SetTransparent(false);
    StatusBar1->Panels(1).SetText(path);
    StatusBar1->Repaint();

    // Memory that runs out on the way leaves the cursor as it was too.
    struct RestoreCursor {
        TCursor cursor;
        ~RestoreCursor() { Screen->SetCursor(cursor); }
    } restoreCursor{savedCursor};
    const int prepared = PreparePhoto(path, preview);
    if (prepared < 0)
        return prepared;

    // The batch may have composed the photo ahead, while the one before it
    // saved: for that photo's own turn, never for a preview.
    if (preview || path.empty() || !takeCompositionWorkedAhead())
        composeOutput(preview);
    int status = 0;
    if (!preview && !path.empty()) {
        // An abort answered while the photo was composed ends it before its
        // save begins; a save begun is finished.
        Application->ProcessMessagesIfDue();
        status = AbortRequested ? photoWorkAborted() : saveComposed(path);
    }

    if (show)
        ShowFitted(*OutputBitmap, 1);
    return status;
}

void TForm1::composeOutput(bool preview)
{
    const TFrameLayout& layout = preview ? PreviewLayout : FrameLayout;
    TBitmap& overlay = preview ? *PreviewOverlay : *FrameOverlay;
    const int W = layout.Framewidth;
    const int H = layout.Frameheight;
    if (layout.HasFrameImage) {
        ComposeFramePicture(*OutputBitmap, W, H, BackgroundColor, *PhotoBitmap, layout.Leftwidth, layout.Topheight,
                            nullptr);
        BlendFrameImage(W, H, *OutputBitmap, overlay);
    } else {
        // The frame goes over the photo with its black photo area see-through.
        overlay.Transparent = true;
        overlay.SetTransparentColor(clBlack);
        const SeeThroughOverlay frame{&overlay, overlay.TransparentColor()};
        ComposeFramePicture(*OutputBitmap, W, H, BackgroundColor, *PhotoBitmap, layout.Leftwidth, layout.Topheight,
                            &frame);
    }
    if (preview)
        return;
    for (const PlacedText& placed : placedTexts())
        DrawTextBlock(placed.at.x, placed.at.y, *OutputBitmap, placed.text.Font, placed.text.Text, placed.text.Angle);
}

std::vector<TForm1::PlacedText> TForm1::placedTexts()
{
    std::vector<PlacedText> texts;
    for (TFrameTextKind kind : kFrameTextKinds) {
        TFrameText text = Form4->FrameText(kind);
        if (Trim(text.Text).empty())
            continue;
        const TPoint at = TextOutputPlace(kind, text);
        texts.push_back({kind, std::move(text), at});
    }
    return texts;
}

int TForm1::saveComposed(const std::string& sourcePath)
{
    OverwriteCheck::Target target = overwriteCheck_.Examine(BuildOutputPath(Edit2->Text(), sourcePath), sourcePath);
    if (!mayReplace(target, true)) {
        do {
            const std::string chosen = AskJpegSavePath(target.path);
            // Nothing chosen: the photo counts as skipped, not as saved.
            if (chosen.empty())
                return -2;
            target = overwriteCheck_.Examine(chosen, sourcePath);
        } while (!mayReplace(target, false));
    }
    // A failed save is an error of the run, not a saved photo.
    if (SaveJpeg(target.path, *OutputBitmap) != 0)
        return -4;
    overwriteCheck_.Saved(target);
    return 0;
}

bool TForm1::mayReplace(const OverwriteCheck::Target& target, bool proposed)
{
    auto ask = [&](const std::string& question) {
        return Application->MessageBox(question, MessageCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES;
    };
    switch (target.kind) {
    case OverwriteCheck::Kind::NewFile:
        return true;
    case OverwriteCheck::Kind::ExistingFile:
        // A file named in the save dialog was chosen there.
        if (!proposed || OverwriteConfirmed)
            return true;
        if (!ask("既に同名のファイルが存在します。\n上書きして宜しいですか？"))
            return false;
        OverwriteConfirmed = true;
        return true;
    case OverwriteCheck::Kind::SourcePhoto:
        return ask(Format("保存先のファイルは元の写真です。\n元の写真を上書きして宜しいですか？\n\n%s",
                          target.path.c_str()));
    case OverwriteCheck::Kind::OtherPicture:
        return ask(Format("同じ名前のファイルをこの作業で既に保存しました。\n上書きして宜しいですか？\n\n"
                          "保存先: %s\n先の写真: %s\nこの写真: %s",
                          target.path.c_str(), target.earlierSource.c_str(), target.source.c_str()));
    }
    return false;
}

int TForm1::SaveJpeg(const std::string& path, const TBitmap& bitmap)
{
    auto fail = [&](const std::string& message, int code) {
        Application->MessageBox(message, MessageCaption, MB_OK);
        return code;
    };
    if (path.size() <= 2)
        return fail("保存先フォルダが指定されていません。", -1);
    const std::string folder = ExtractFilePath(path);
    if (!SetCurrentDirectory(folder)) {
        if (!ForceDirectories(folder))
            return fail(Format("保存先フォルダを作成出来ません。\n%s", folder.c_str()), -2);
        if (!SetCurrentDirectory(folder))
            return fail("保存先フォルダを作成出来ません。", -3);
    }
    // A program that died while saving here left its temporary file behind.
    if (sweptFolders_.insert(folder).second)
        RemoveTemporaryFilesOlderThan(folder, ".jpg", ProgramStart());
    FileFailure failure;
    if (saveJpegFile(bitmap, path, &failure) != JpegSaveResult::Ok) {
        Memo1->Lines().Add(Format("保存出来ません: %s (%s)", path.c_str(), failure.text.c_str()));
        return fail(Format("ファイルを保存出来ません。\n%s\n%s", path.c_str(), SaveFailureReason(failure).c_str()),
                    -4);
    }
    return 0;
}

JpegSaveResult TForm1::saveJpegFile(const TBitmap& bitmap, const std::string& path, FileFailure* failure)
{
    const int quality = Form2->JpegQuality();
    // The composed picture of a batch's photo is saved on a thread of its
    // own, while the next photo is worked ahead when it may be, and the
    // window answers the operator; the save's result is taken here, before
    // anything of the next photo shows. A save begun is finished.
    if (&bitmap != OutputBitmap || !workAhead_)
        return SaveJpegSafely(bitmap, path, quality, kOutputDpi, failure);
    BackgroundJpegSave& save = workAhead_->save;
    save.Picture().ExchangePixels(*OutputBitmap);
    try {
        save.Start(path, quality, kOutputDpi);
    } catch (...) {
        OutputBitmap->ExchangePixels(save.Picture());
        throw;
    }
    if (const std::string next = Memo2->Lines()[PhotoIndex + 1]; mayWorkAhead(next))
        workNextPhotoAhead(next);
    while (!save.WaitFor(std::chrono::milliseconds(20)))
        pump();
    const JpegSaveResult result = save.Wait(failure);
    OutputBitmap->ExchangePixels(save.Picture());
    return result;
}

std::string TForm1::AskJpegSavePath(const std::string& proposed)
{
    TSavePictureDialog& dialog = *SavePictureDialog1;
    dialog.Options = ofOverwritePrompt | ofHideReadOnly | ofPathMustExist | ofNoReadOnlyReturn | ofEnableSizing;
    dialog.Title = "Jpegファイルを保存";
    dialog.InitialDir = ExtractFilePath(Edit2->Text());
    dialog.Filter = "Jpg files (*.jpg)|*.jpg|All files (*.*)|*.*";
    dialog.FilterIndex = 1;
    dialog.FileName = proposed;
    for (;;) {
        if (!dialog.Execute())
            return {};
        if (dialog.Files.size() == 1 && HasJpgExtension(dialog.FileName))
            return dialog.FileName;
        dialog.FileName += ".jpg";
    }
}

int TForm1::EndsWithBackslash(const std::string& text)
{
    return ::EndsWithBackslash(text);
}

int TForm1::BlendFrameImage(int width, int height, TBitmap& target, const TBitmap& frameImage)
{
    return ::BlendFrameImage(width, height, target, frameImage, MaskPlane, FrameLayout.Framewidth,
                             FrameLayout.Frameheight);
}
