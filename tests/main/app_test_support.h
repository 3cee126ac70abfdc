// A fixture for tests of the program's windows: a fresh set of the seven
// windows per test, a scripted dialog driver that fails the test on any box it
// was not told to expect, and a private program folder (where "vad.ini" and
// the photos of a test live).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main/main_form.h"
#include "platform/dialogs.h"
#include "tests/test_support.h"

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the main window as the program does at start-up.
    void ShowMainWindow();
    // The same with a 900 x 500 preview client (layout 0 previews at
    // 685 x 480), layout 0 applied again for it.
    void ShowMainWindowWithKnownPreview();
    // Closes the windows as the program does at exit, then creates a new set
    // (a second start with the same program folder).
    void Restart();
    // A folder below the program folder holding 400 x 300 photos under these
    // names (a name may lead into sub-folders); returns its path.
    std::string MakePhotoFolder(const std::string& relative, const std::vector<std::string>& names);
    // A w x h photo of smooth colours under this name in the program folder;
    // returns its path.
    std::string Photo(const std::string& name, int w, int h);

    std::shared_ptr<ScriptedDialogDriver> dialogs;
    TempDir folder;
};

// The same with the main window shown and framed by a window manager;
// skipped where there is none.
class WindowManagerTest : public AppTest {
protected:
    void SetUp() override;
};

// Writes a width x height JPEG of smooth colours (quality 90).
void WriteTestJpeg(const std::string& path, int width, int height);

// A click on the title text of the preview, which opens the quick text
// dialog.
void ClickTheTitle();

// Types a valid L-size layout (white border, title and date) into the pixel
// fields of the frame settings window.
void FillValidFrameLayout();
