// The digits-only test of the frame settings window, through PCRE2's POSIX
// interface. Kept apart: pcre2posix.h defines regex_t as the C library's
// <regex.h> does, and the two must not meet in one file.
#include "frame_editor/frame_settings_form.h"

#include <pcre2posix.h>

bool TForm3::IsDigitsOnly(const std::string& text)
{
    regex_t pattern;
    if (regcomp(&pattern, "[^0-9]", 0) != 0)
        return false;
    regmatch_t matches[10];
    const int result = regexec(&pattern, text.c_str(), 10, matches, 0);
    regfree(&pattern);
    return result == REG_NOMATCH;
}
