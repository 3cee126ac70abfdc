// Output file names: the output folder joined with the source photo's file
// name, and the tests on path texts that go with it. Paths use "/"; text is
// UTF-8, in which no byte of a multi-byte character equals "/", so looking at
// the last byte never splits a character.
#pragma once

#include <string>

// 1 when text ends with "/", 0 when not, -2 for a text of 2048 bytes or more
// (the longest folder text the saving accepts is shorter), -3 when empty.
int EndsWithBackslash(const std::string& text);

// outputFolder + "/" (unless it already ends with one) + the file name of
// sourcePath (what follows its last "/"; ":" is ordinary), kept exactly,
// extension and case included.
std::string BuildOutputPath(const std::string& outputFolder, const std::string& sourcePath);

// True when the last four characters are "." then j, p, g in any case.
bool HasJpgExtension(const std::string& name);
