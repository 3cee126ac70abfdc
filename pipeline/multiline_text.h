// A stored text, whose lines are separated by the two characters backslash
// and n, as the lines an operator edits one per line, and back. The split is
// the text renderer's, so the lines edited are the lines drawn.
#pragma once

#include <string>
#include <vector>

// The lines to edit: a text without separator is one line (an empty text one
// empty line); otherwise the line before each separator, then the rest when
// it is not empty ("A\n" gives the one line A).
std::vector<std::string> TextToEditLines(const std::string& text);

// The edited lines joined with the separator ("A", "", "B" give "A\n\nB").
std::string EditLinesToText(const std::vector<std::string>& lines);
