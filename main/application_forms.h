// Creating the program's seven windows in their order, and releasing them.
#pragma once

#include <vector>

class TForm;

// Creates Form1, Form7, Form3, Form5, Form2, Form4 and Form8, to be released
// by the application object's shutdown at the latest; false when the main
// window could not create its work bitmaps (it has said so).
bool CreateApplicationForms();
// Releases them, last created first, and forgets the globals.
void DestroyApplicationForms();
// The windows that turn see-through while another application is active:
// the main window, the preferences, the frame settings, the text placement
// and the multi-line input (those created so far).
std::vector<TForm*> TransparentForms();
