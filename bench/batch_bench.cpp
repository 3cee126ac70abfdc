// Times the batch's path for one photo through the real main window — load,
// turn, prepare with the high-quality reduction and colour correction,
// compose three texts (one of two lines, one turned) with smoothing pattern
// B, save with the 300 dpi stamp — on photo-like JPEGs of 12 and 24
// megapixels into layouts 0, 5 and 7, beside the codec's floor (decoding the
// source plus encoding the output at the same quality). Also times the steps
// of correction bar drags (each re-renders the preview) with a 12-megapixel
// photo loaded, and the peak resident memory of a batch of ten 24-megapixel
// photos (measured in a child process of its own). Usage: batch_bench [runs]
//
// Folder mode, batch_bench --folder: what an operator waits for. For 16
// photos of 12 megapixels and 8 of 24 (a quarter of them portrait) it starts
// the program afresh in a child process, drops the folder, runs the batch
// (layout 5, a 2 degree turn, colour, three texts, quality 90) and then a
// second batch in the same process, and prints the time per photo of each
// beside the floor (decoding each photo plus encoding its saved picture, in
// this process, warm) and the child's peak resident memory.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>


#include "bench/bench_photos.h"
#include "dialogs/preferences_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/jpeg_codec.h"

namespace {

using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The texts of a real job: a title, a two-line date and a turned other text.
void SetUpJob(const std::string& photoFolder, const std::string& outputFolder)
{
    Form1->CheckBox3->SetChecked(true);
    Form1->CheckBox7->SetChecked(true);
    Form1->CheckBox6->SetChecked(true);
    Form1->Edit13->SetText("12");
    Form1->Edit1->SetText(photoFolder);
    Form1->Edit2->SetText(outputFolder);
    Form2->TrackBar7->SetPosition(1);
    Form2->TrackBar4->SetPosition(90);
    Form4->Edit4->SetText("令和八年度　卒業記念");
    Form4->Edit9->SetText("2026.12.08\\n撮影");
    Form4->Edit7->SetText("Plovis Studio");
}

void PlaceTexts()
{
    const TFrameLayout& p = Form1->PreviewLayout;
    Form1->Image3->SetBounds(p.FontPositionX - Form1->Image3->Width() / 2, p.FontPositionY, Form1->Image3->Width(),
                             Form1->Image3->Height());
    Form1->Image4->SetBounds(p.DatePositionX - 60, p.DatePositionY - 10, 120, 20);
    Form1->Image5->SetBounds(p.OtherPositionX - 20, p.OtherPositionY, 120, 20);
    Form4->Edit8->SetText("15");
}

long PeakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

int MemoryRun(const std::string& folder)
{
    const std::string photos = folder + "/batch24";
    const std::string output = folder + "/batch24-out";
    std::filesystem::create_directories(photos);
    for (int i = 0; i < 10; ++i)
        WritePhotoJpeg(photos + "/p" + std::to_string(i) + ".jpg", 6000, 4000);
    Form1->ComboBox1->UserChose(5);
    SetUpJob(photos, output);
    Form1->WMDropFiles({photos}, true);
    Form1->Edit2->SetText(output);
    PlaceTexts();
    Form1->BitBtn12->Click();
    std::printf("%ld\n", PeakResidentKb());
    return 0;
}

// One program start: the folder dropped, a batch, the folder dropped again
// and a second batch over the same photos (their outputs are overwritten on
// the first question's yes). Prints both batches' milliseconds and the peak
// resident kilobytes.
int FolderChild(const std::string& photos, const std::string& output, ScriptedDialogDriver& dialogs)
{
    dialogs.Message("既に同名のファイルが存在します。", IDYES).Message("作業が終了しました。", IDOK);
    Form1->ComboBox1->UserChose(5);
    double batchMs[2] = {0, 0};
    for (double& ms : batchMs) {
        SetUpJob(photos, output);
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(output);
        PlaceTexts();
        Form1->PhotoAngle = 2.0f;
        const auto start = Clock::now();
        Form1->BitBtn12->Click();
        ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    std::printf("%.1f %.1f %ld\n", batchMs[0], batchMs[1], PeakResidentKb());
    return 0;
}

// The floor of a folder: every photo decoded and its saved picture encoded
// at quality 90, in this process; the second of two passes (warm).
double FloorMsPerPhoto(const std::vector<std::string>& photos, const std::string& output)
{
    TBitmap decoded, saved;
    double ms = 0;
    for (int pass = 0; pass < 2; ++pass) {
        ms = 0;
        for (const std::string& photo : photos) {
            const std::string name = std::filesystem::path(photo).filename().string();
            DecodeJpegFile(output + "/" + name, saved);
            auto start = Clock::now();
            DecodeJpegFile(photo, decoded);
            EncodeJpegFile(saved, output + "/floor.jpg", 90);
            ms += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    }
    return ms / static_cast<double>(photos.size());
}

int FolderRun()
{
    char pattern[] = "/tmp/plovis-folder-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    struct Set {
        const char* name;
        int count;
        int w;
        int h;
    };
    std::printf("%-6s %7s %14s %6s %14s %6s %9s %8s\n", "photos", "count", "first ms/photo", "ratio",
                "second ms/ph.", "ratio", "floor ms", "peak MB");
    for (const Set& set : {Set{"12MP", 16, 4000, 3000}, Set{"24MP", 8, 6000, 4000}}) {
        const std::string photos = folder + "/" + set.name;
        const std::string output = folder + "/" + set.name + "-out";
        std::filesystem::create_directories(photos);
        std::vector<std::string> paths;
        for (int i = 0; i < set.count; ++i) {
            const bool portrait = i % 4 == 3;
            char name[32];
            std::snprintf(name, sizeof name, "/p%02d.jpg", i);
            paths.push_back(photos + name);
            WritePhotoJpeg(paths.back(), portrait ? set.h : set.w, portrait ? set.w : set.h);
        }
        std::fflush(stdout);
        const std::string command = "\"$(readlink -f /proc/" + std::to_string(getpid()) + "/exe)\" --folder-child " +
                                    photos + " " + output;
        double first = 0, second = 0;
        long peakKb = 0;
        if (FILE* child = popen(command.c_str(), "r")) {
            char line[128] = {};
            while (std::fgets(line, sizeof line, child))
                std::sscanf(line, "%lf %lf %ld", &first, &second, &peakKb);
            pclose(child);
        }
        const double floorMs = FloorMsPerPhoto(paths, output);
        const double n = set.count;
        std::printf("%-6s %7d %14.1f %6.2f %14.1f %6.2f %9.1f %8ld\n", set.name, set.count, first / n,
                    first / n / floorMs, second / n, second / n / floorMs, floorMs, peakKb / 1024);
    }
    std::filesystem::remove_all(folder);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool memoryMode = argc > 2 && mode == "--memory";
    const bool folderChild = argc > 3 && mode == "--folder-child";
    const int runs = !memoryMode && argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    Application->Initialize(argc, argv);
    Application->Title = "Plovis";
    // Only the batch's own summary box is answered; nothing else may appear.
    auto dialogs = std::make_shared<ScriptedDialogDriver>();
    dialogs->Message("作業が終了しました。", IDOK);
    Application->SetDialogDriver(dialogs);
    if (!CreateApplicationForms())
        return 1;
    Form1->Show();
    if (mode == "--folder") {
        const int status = FolderRun();
        DestroyApplicationForms();
        Application->Shutdown();
        return status;
    }
    if (memoryMode || folderChild) {
        const int status = memoryMode ? MemoryRun(argv[2]) : FolderChild(argv[2], argv[3], *dialogs);
        // The windows go before the application, or its end crashes and
        // the figure never leaves the buffer.
        DestroyApplicationForms();
        Application->Shutdown();
        return status;
    }

    char pattern[] = "/tmp/plovis-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string output = folder + "/out";
    struct Photo {
        const char* name;
        int w;
        int h;
    };
    const Photo photos[] = {{"12MP landscape", 4000, 3000}, {"12MP portrait", 3000, 4000},
                            {"24MP landscape", 6000, 4000}, {"24MP portrait", 4000, 6000}};
    std::printf("%-16s %-7s %10s %10s %7s\n", "photo", "layout", "photo ms", "floor ms", "ratio");
    for (const Photo& photo : photos) {
        const std::string path = folder + "/" + std::to_string(photo.w) + "x" + std::to_string(photo.h) + ".jpg";
        WritePhotoJpeg(path, photo.w, photo.h);
        TBitmap decoded;
        const double decodeMs = MedianMs(runs, [&] { DecodeJpegFile(path, decoded); });
        for (int layout : {0, 5, 7}) {
            Form1->ComboBox1->UserChose(layout);
            SetUpJob(folder, output);
            PlaceTexts();
            const double photoMs = MedianMs(runs, [&] {
                Form1->CachedPhotoPath.clear();
                Form1->OverwriteConfirmed = true;
                Form1->ComposeAndSave(path, false, false);
            });
            const std::string probe = folder + "/probe.jpg";
            const double encodeMs = MedianMs(runs, [&] { EncodeJpegFile(*Form1->OutputBitmap, probe, 90); });
            const double floorMs = decodeMs + encodeMs;
            std::printf("%-16s %-7d %10.1f %10.1f %7.2f\n", photo.name, layout, photoMs, floorMs, photoMs / floorMs);
        }
    }

    // Correction bar drags with a 12-megapixel photo loaded: each step of a
    // bar runs its handler, which re-renders the preview.
    Form1->ComboBox1->UserChose(0);
    SetUpJob(folder, output);
    Form1->Memo2->Lines().Assign({folder + "/4000x3000.jpg"});
    Form1->PhotoIndex = 0;
    Form1->CachedPhotoPath.clear();
    Form1->LoadPhoto(folder + "/4000x3000.jpg");
    const struct {
        TTrackBar* bar;
        const char* name;
    } drags[] = {{Form1->TrackBar8, "brightness"}, {Form1->TrackBar2, "move"}, {Form1->TrackBar4, "rotation"},
                 {Form1->TrackBar1, "zoom"}};
    for (const auto& drag : drags) {
        const int start = drag.bar->Position();
        int step = 0;
        const double stepMs = MedianMs(runs * 8, [&] { drag.bar->SetPosition(start + 1 + step++ % 20); });
        drag.bar->SetPosition(start);
        std::printf("%s bar drag, one step re-rendered to the preview (12MP loaded): %.1f ms\n", drag.name, stepMs);
    }

    std::fflush(stdout);
    const std::string command = "\"$(readlink -f /proc/" + std::to_string(getpid()) + "/exe)\" --memory " + folder;
    std::string peak;
    if (FILE* child = popen(command.c_str(), "r")) {
        char line[64] = {};
        while (std::fgets(line, sizeof line, child))
            peak = line;
        pclose(child);
    }
    std::printf("peak resident memory, batch of ten 24MP photos: %ld MB\n", std::strtol(peak.c_str(), nullptr, 10) / 1024);
    std::filesystem::remove_all(folder);
    DestroyApplicationForms();
    Application->Shutdown();
    return 0;
}
