// Composing the finished picture of one photo and saving it as a JPEG with
// the 300 dpi stamp.
#include <algorithm>

#include "dialogs/preferences_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/main_form.h"
#include "pipeline/jpeg_saving.h"
#include "pipeline/output_path.h"
#include "platform/application.h"
#include "platform/canvas.h"
#include "platform/file_path.h"
#include "platform/file_system.h"
#include "platform/text_format.h"

namespace {

constexpr int kOutputDpi = 300;

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

    const int prepared = PreparePhoto(path, preview);
    if (prepared < 0) {
        Screen->SetCursor(savedCursor);
        return prepared;
    }

    const TFrameLayout& layout = preview ? PreviewLayout : FrameLayout;
    TBitmap& overlay = preview ? *PreviewOverlay : *FrameOverlay;
    const int W = layout.Framewidth;
    const int H = layout.Frameheight;
    overlay.Canvas()->Brush.Style = TBrushStyle::bsClear;
    overlay.Transparent = true;
    overlay.SetTransparentColor(clBlack);
    OutputBitmap->SetSize(W, H);
    OutputBitmap->Fill(BackgroundColor);
    // The fitting swaps the photo in work with the text layer, which a text
    // preview leaves transparent; drawn so, photo pixels of the colour of its
    // bottom-left pixel would let the white fill through.
    PhotoBitmap->Transparent = false;
    OutputBitmap->Canvas()->Draw(layout.Leftwidth, layout.Topheight, *PhotoBitmap);
    if (layout.HasFrameImage)
        BlendFrameImage(W, H, *OutputBitmap, overlay);
    else
        OutputBitmap->Canvas()->Draw(0, 0, overlay);

    int status = 0;
    if (!preview) {
        const struct {
            TImage* image;
            TEdit* text;
            TEdit* font;
            TEdit* angle;
            TCheckBox* vertical;
        } texts[] = {{Image3, Form4->Edit4, Form4->Edit22, Form4->Edit2, Form4->CheckBox4},
                     {Image4, Form4->Edit9, Form4->Edit10, Form4->Edit3, Form4->CheckBox5},
                     {Image5, Form4->Edit7, Form4->Edit12, Form4->Edit8, Form4->CheckBox5}};
        // A text is drawn where its image sits on the preview, scaled to
        // the output.
        auto toOutput = [&](int v) {
            return static_cast<int>(
                static_cast<float>(v * static_cast<double>(FrameLayout.Framewidth) / PreviewLayout.Framewidth));
        };
        for (const auto& t : texts) {
            const int px = t.image->Left() + ScrollBox1->HorzScrollBar.Position();
            const int py = t.image->Top() + ScrollBox1->VertScrollBar.Position();
            const int x = toOutput(px);
            const int y = toOutput(py);
            const std::string text = t.text->Text();
            if (!Trim(text).empty())
                DrawTextBlock(W, H, x, y, *OutputBitmap, *t.font, text, t.vertical->Checked(),
                              StrToIntDef(t.angle->Text(), 0));
        }
        if (!path.empty())
            status = saveComposed(path);
    }

    OutputBitmap->Transparent = false;
    if (show)
        ShowFitted(*OutputBitmap, 1);
    Screen->SetCursor(savedCursor);
    return status;
}

int TForm1::saveComposed(const std::string& sourcePath)
{
    std::string out = BuildOutputPath(Edit2->Text(), sourcePath);
    int saved = 0;
    if (!OverwriteConfirmed && FileExists(out)) {
        if (Application->MessageBox("既に同名のファイルが存在します。\n上書きして宜しいですか？", MessageCaption,
                                    MB_YESNO | MB_DEFBUTTON2) == IDYES) {
            saved = SaveJpeg(out, *OutputBitmap);
            OverwriteConfirmed = true;
        } else {
            out = AskJpegSavePath(out);
            // Nothing chosen: the photo counts as skipped, not as saved.
            if (out.empty())
                return -2;
            saved = SaveJpeg(out, *OutputBitmap);
        }
    } else {
        saved = SaveJpeg(out, *OutputBitmap);
    }
    // A failed save is an error of the run, not a saved photo.
    return saved == 0 ? 0 : -4;
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
    const int quality = Form2->TrackBar4->Position();
    if (SaveJpegSafely(bitmap, path, quality, kOutputDpi) != JpegSaveResult::Ok)
        return fail("保存先フォルダを作成出来ません。", -4);
    return 0;
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
    if (width < 1 || height < 1)
        return -3;
    if (target.Width() != frameImage.Width())
        return -1;
    if (target.Height() != frameImage.Height())
        return -2;
    width = std::min(width, target.Width());
    height = std::min(height, target.Height());
    const int fw = FrameLayout.Framewidth;
    const int fh = FrameLayout.Frameheight;
    // No frame image carries a mask yet: where the mask has no value the
    // alpha is 0 and the target stays as it is.
    auto alphaAt = [&](int x, int y) -> int {
        if (x >= MaskPlane.Width() || y >= MaskPlane.Height())
            return 0;
        return std::min<int>(static_cast<int>(MaskPlane.At(x, y)), 255);
    };
    for (int y = 0; y < height; ++y) {
        std::uint8_t* t = target.ScanLine(y);
        const std::uint8_t* f = frameImage.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const int alpha = width == fw ? alphaAt(x, y)
                                          : alphaAt(std::min(fw * x / width, fw - 1), std::min(fh * y / height, fh - 1));
            for (int c = 0; c < 3; ++c)
                t[x * 3 + c] = static_cast<std::uint8_t>((alpha * f[x * 3 + c] + (255 - alpha) * t[x * 3 + c]) / 255);
        }
    }
    return 0;
}
