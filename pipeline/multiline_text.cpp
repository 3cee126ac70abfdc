// Stored texts as edited lines.
#include "pipeline/multiline_text.h"

#include "pipeline/text_layout.h"

std::vector<std::string> TextToEditLines(const std::string& text)
{
    TextLines split = SplitTextLines(text);
    if (!split.separated)
        return {text};
    return std::move(split.pieces);
}

std::string EditLinesToText(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\\n";
        text += lines[i];
    }
    return text;
}
