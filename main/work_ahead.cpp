// The batch's next photo worked ahead, silently, while the photo before it
// is saved on a thread of its own; taken over at its turn, after the visible
// steps that come before it, when nothing it read has changed.
#include "main/work_ahead.h"

#include <exception>
#include <utility>

#include "dialogs/preferences_form.h"
#include "dialogs/quick_text_form.h"
#include "frame_editor/frame_settings_form.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/flag_scope.h"
#include "platform/jpeg_codec.h"

namespace {

// The pixels a photo's header declares; 0 for a file without a readable
// header, whose decode fails at once.
std::uint64_t HeaderPixels(const std::string& path)
{
    const std::optional<JpegDimensions> size = ReadJpegDimensions(path);
    return size ? size->Pixels() : 0;
}

}  // namespace

bool TForm1::mayWorkAhead(const std::string& next)
{
    // An abort asked for already ends the batch before the next photo.
    return workAhead_ && !next.empty() && !AbortRequested && next != CachedPhotoPath && prefetch_.Has(next) &&
           HeaderPixels(next) <= std::uint64_t{kWorkAheadPixels} &&
           colourCorrectionAsTyped().has_value();
}

void TForm1::decodeAhead(int from, int through)
{
    std::int64_t held = 0;
    for (int index = PhotoIndex; index <= through; ++index) {
        const std::string path = Memo2->Lines()[index];
        if (path.empty())
            return;
        const auto pixels = static_cast<std::int64_t>(HeaderPixels(path));
        held += pixels;
        if (pixels > kDecodeAheadPixels || held > kAheadPixels)
            return;
        if (index >= from)
            prefetch_.Ahead(path, ScratchBitmap);
    }
}

void TForm1::workNextPhotoAhead(const std::string& next)
{
    WorkAhead& ahead = *workAhead_;
    ahead.path.clear();
    // The photo being saved keeps its work state here meanwhile: a failed
    // save or an abort leaves the batch at that photo, with its state.
    exchangeWorkState();
    const std::string reduceMessage = ReduceMessage;
    bool worked = false;
    try {
        worked = workPhotoAhead(next);
    } catch (const std::exception&) {
        // Done again at the photo's turn, where a failure shows in its place.
    }
    ReduceMessage = reduceMessage;
    exchangeWorkState();
    if (worked)
        ahead.path = next;
}

bool TForm1::workPhotoAhead(const std::string& path)
{
    // No box, log line, status text or redraw: the turn of the photo does
    // those, in their order. Anything unusual is left to the turn. The
    // window answers the operator meanwhile.
    const FlagScope silent(workingAhead_);
    workAheadStopped_ = false;
    WorkAhead& ahead = *workAhead_;
    ahead.inputs = workAheadInputs();
    // Its decode is taken now, not at its turn: the two after it start now.
    decodeAhead(PhotoIndex + 2, PhotoIndex + 3);
    if (!waitForDecodeAhead(path) || prefetch_.Take(path, *ScratchBitmap, &ahead.stamp) != JpegResult::Ok)
        return false;
    turnIntoCache();
    if (tooSmallToWork(*SourceBitmap) || fitAndCorrect(*SourceBitmap, false) != 0)
        return false;
    composeOutput(false);
    // The composition read what the last pump saw unchanged.
    return !workAheadStopped_;
}

void TForm1::pumpWhileWorkingAhead()
{
    Application->ProcessMessages();
    // An abort ends the batch before the photo worked on; anything else the
    // work reads, changed meanwhile, would mix old and new in it. Either way
    // its turn does it, or not.
    if (AbortRequested || workAheadInputs() != workAhead_->inputs)
        workAheadStopped_ = true;
}

void TForm1::exchangeWorkState()
{
    WorkAhead& ahead = *workAhead_;
    SourceBitmap->ExchangePixels(ahead.source);
    PhotoBitmap->ExchangePixels(ahead.photo);
    std::swap(HistogramAfter, ahead.histogramAfter);
}

WorkAheadInputs TForm1::workAheadInputs()
{
    WorkAheadInputs in;
    in.frame = FrameLayout;
    in.preview = PreviewLayout;
    in.offsetX = PhotoOffsetX;
    in.offsetY = PhotoOffsetY;
    in.angle = PhotoAngle;
    in.zoom = PhotoZoom;
    in.corrections = CheckBox7->Checked();
    in.colour = CheckBox6->Checked();
    in.highQuality = CheckBox3->Checked();
    in.sharpen = CheckBox2->Checked();
    in.trimming = Form3->TrimmingAlignment();
    in.background = BackgroundColor;
    in.correction = colourCorrectionAsTyped();
    for (const PlacedText& placed : placedTexts())
        in.texts.push_back({placed.kind, placed.text.Text, placed.text.Font.Handle(), placed.text.Font.Color(),
                            placed.text.Angle, placed.at});
    in.lineSpacing = LineSpacing;
    in.horizontalScale = Form7->HorizontalScale();
    in.smoothing = Form2->SmoothingPattern();
    return in;
}

bool TForm1::takeSourceWorkedAhead(const std::string& path)
{
    if (!workAhead_)
        return false;
    WorkAhead& ahead = *workAhead_;
    ahead.fittedReady = false;
    // The same file as its decode read (a save of the batch may have
    // replaced it since), turned for the same frame.
    if (ahead.path.empty() || ahead.path != path || StampOf(path) != ahead.stamp || ahead.inputs.frame != FrameLayout) {
        ahead.path.clear();
        return false;
    }
    ahead.path.clear();
    SourceBitmap->ExchangePixels(ahead.source);
    ahead.fittedReady = true;
    return true;
}

bool TForm1::takeFittedWorkedAhead()
{
    if (!workAhead_ || !std::exchange(workAhead_->fittedReady, false))
        return false;
    WorkAhead& ahead = *workAhead_;
    // Read after the photo's pumps, where its fitting would read them.
    if (workAheadInputs() != ahead.inputs)
        return false;
    PhotoBitmap->ExchangePixels(ahead.photo);
    HistogramAfter = ahead.histogramAfter;
    // As the histogram leaves it after a fitting.
    ReduceMessage.clear();
    ahead.composedReady = true;
    return true;
}

bool TForm1::takeCompositionWorkedAhead()
{
    if (!workAhead_ || !std::exchange(workAhead_->composedReady, false))
        return false;
    OutputBitmap->ExchangePixels(workAhead_->save.Picture());
    return true;
}
