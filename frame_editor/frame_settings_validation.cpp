// Frame settings window: the checks of the pixel fields before the layout is
// saved or its texts are placed. Every check runs; all messages show at once.
#include "frame_editor/frame_settings_form.h"
#include "platform/application.h"
#include "platform/text_format.h"

namespace {

// The largest frame side the pipeline handles.
constexpr int kMaxFrameSide = 3393;

// How the messages name each pixel field, in the order of the measures.
constexpr const char* kFieldNames[kFrameMeasureCount] = {
    "フレーム幅",         "フレーム高",         "右フチ幅",       "下フチ高",       "左フチ幅",
    "内枠幅",             "内枠幅",             "上フチ高",       "タイトル文字横位置", "タイトル文字縦位置",
    "日付文字横位置",     "日付文字縦位置",     "その他文字横位置", "その他文字縦位置",
};

// The other text's place may be left empty.
constexpr int kRequiredCount = static_cast<int>(TFrameMeasure::OtherX);

}  // namespace

bool TForm3::ValidateFrameSettings()
{
    std::string message;
    const TFrameLayout l = pixelLayout();

    // A frame or photo area of no size typed as such would pass the sums;
    // nothing can be drawn or placed on it.
    const auto typedBelowOne = [this](TFrameMeasure measure) {
        int value = 0;
        return TryStrToInt(fieldsOf(measure).pixels->Text(), value) && value < 1;
    };
    if (typedBelowOne(TFrameMeasure::FrameWidth) || typedBelowOne(TFrameMeasure::FrameHeight))
        message += "枠サイズ設定が０以下になっています。\n";
    if (typedBelowOne(TFrameMeasure::PhotoWidth) || typedBelowOne(TFrameMeasure::PhotoHeight))
        message += "写真サイズ設定が０以下になっています。\n";

    for (int i = 0; i < kRequiredCount; ++i)
        if (fieldsOf(MeasureAt(i)).pixels->Text().empty())
            message += std::string(kFieldNames[i]) + "が未入力です。\n";
    for (int i = 0; i < kFrameMeasureCount; ++i)
        if (!IsDigitsOnly(fieldsOf(MeasureAt(i)).pixels->Text()))
            message += std::string(kFieldNames[i]) + "に半角数字以外が入力されています。\n";

    const struct {
        const char* name;
        int x, y;
    } places[] = {
        {"タイトル文字", l.FontPositionX, l.FontPositionY},
        {"日付文字", l.DatePositionX, l.DatePositionY},
        {"その他文字", l.OtherPositionX, l.OtherPositionY},
    };
    for (const auto& place : places) {
        const std::string name = place.name;
        if (place.x < 0)
            message += name + "横位置にマイナス値が入力されています。\n";
        if (place.y < 0)
            message += name + "縦位置にマイナス値が入力されています。\n";
        if (place.x > l.Framewidth)
            message += name + "横位置にフレーム幅より大きい値が入力されています。\n";
        if (place.y > l.Frameheight)
            message += name + "縦位置にフレーム高より大きい値が入力されています。\n";
    }

    if (l.Framewidth != l.Leftwidth + l.Photowidth + l.Rightwidth)
        message += "幅の合計が合いません。\n";
    if (l.Frameheight != l.Topheight + l.Photoheight + l.Bottomheight)
        message += "高さの合計が合いません。\n";
    if (l.Framewidth > kMaxFrameSide)
        message += Format("フレーム幅が処理可能な最大値を超えています。最大：%dpix\n", kMaxFrameSide);
    if (l.Frameheight > kMaxFrameSide)
        message += Format("フレーム高が処理可能な最大値を超えています。最大：%dpix\n", kMaxFrameSide);

    if (message.empty())
        return true;
    Application->MessageBox(message, "", MB_OK);
    return false;
}
