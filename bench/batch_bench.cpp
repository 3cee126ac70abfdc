// What an operator waits for in a batch, beside the codec's own cost.
//
// batch_bench --folder [DIR] [--cores N] [--rounds R]
//   For each set of photos (by default 16 camera-like photos of 12
//   megapixels and 8 of 24, about 0.18 bytes a pixel as a camera writes
//   them, a quarter of them portrait; with DIR the operator's own folder)
//   it starts the program afresh in a child process,
//   drops the folder, sets up the job after the drop (layout 5, a 2 degree
//   turn typed in, a red gain from its bar, three texts, quality 90) and
//   times the batch command to its summary, with every photo decoded inside
//   the timing; then the same again in the same process (the second batch).
//   The floor is the project's own decode of each photo plus its encode of
//   the photo's saved picture at the job's quality, in this process, warm,
//   one photo after the other. It prints the bytes per pixel of the photos,
//   the per-photo times and their ratios to the floor, the child's peak
//   resident memory, the cores used and the load average; the medians of R
//   rounds (3), each round a fresh child and a fresh floor. --cores N pins
//   the bench and its children to the first N cores allowed it, so that
//   running it with --cores 1 and --cores 6 shows how the batch scales.
//   --keep DIR keeps each set's saved pictures of the last round in DIR/set,
//   so that two builds' pictures can be compared file by file.
//   --presses P (30) then presses 中断 at P random moments of batches over
//   each set (the button's handler through the layer, its question answered
//   Yes) and prints the median and the longest time from a press to the
//   batch's summary box.
//
// batch_bench --long [N]
//   N photos (2,000 by default) of mixed sizes in batches of 200, as in an
//   operator's day, printing the resident memory after every batch.
//
// batch_bench [runs]
//   The same job for single photos of 12 and 24 megapixels into layouts 0, 5
//   and 7 (the composition and save of one photo, its decode included, the
//   median of runs), and the preview's re-render for one step of each
//   correction bar with a 12 and a 24 megapixel photo loaded.
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QMetaObject>

#include "bench/bench_photos.h"
#include "dialogs/preferences_form.h"
#include "frame_editor/text_placement_form.h"
#include "main/application_forms.h"
#include "main/main_form.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/jpeg_codec.h"
#include "platform/parallel_rows.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(MsSince(start));
    }
    return Median(times);
}

constexpr int kJobQuality = 90;

// The settings of a real job that a drop leaves alone: high-quality
// reduction, correction tools and colour on, the folders, smoothing pattern
// B, quality 90, a title, a two-line date and another text. Every preference
// is set, so that a "vad.ini" left beside the program changes nothing.
void SetUpJob(const std::string& photoFolder, const std::string& outputFolder)
{
    Form1->CheckBox3->SetChecked(true);
    Form1->CheckBox7->SetChecked(true);
    Form1->CheckBox6->SetChecked(true);
    Form1->Edit1->SetText(photoFolder);
    Form1->Edit2->SetText(outputFolder);
    Form2->TrackBar1->SetPosition(1);
    Form2->TrackBar2->SetPosition(10);
    Form2->TrackBar3->SetPosition(1);
    Form2->TrackBar4->SetPosition(kJobQuality);
    Form2->TrackBar5->SetPosition(10);
    Form2->TrackBar7->SetPosition(1);
    Form4->Edit4->SetText("令和八年度　卒業記念");
    Form4->Edit9->SetText("2026.12.08\\n撮影");
    Form4->Edit7->SetText("Plovis Studio");
}

// What a drop resets, set as the operator sets it afterwards: a 2 degree
// turn typed in, the red gain raised on its bar, the other text turned. The
// texts print at the layout's places, where the window put their images.
void SetUpCorrections()
{
    Form1->Edit7->SetText("2");
    Form1->TrackBar5->SetPosition(Form1->TrackBar5->Position() + 3);
    Form4->Edit8->SetText("15");
}

// A size of /proc/self/status in KiB ("VmHWM:", the peak resident, or
// "VmRSS:", the resident now).
long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    return -1;
}

double LoadAverage()
{
    double load = -1;
    if (FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1)
            load = -1;
        std::fclose(file);
    }
    return load;
}

std::string MachineName()
{
    std::ifstream info("/proc/cpuinfo");
    std::string line;
    while (std::getline(info, line))
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown processor";
}

// Keeps this process and its children on the first count cores allowed it
// (all of them for 0). Returns the cores in use.
int PinToCores(int count)
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
        return 0;
    if (count > 0) {
        cpu_set_t chosen;
        CPU_ZERO(&chosen);
        int taken = 0;
        for (int cpu = 0; cpu < CPU_SETSIZE && taken < count; ++cpu)
            if (CPU_ISSET(cpu, &allowed)) {
                CPU_SET(cpu, &chosen);
                ++taken;
            }
        if (sched_setaffinity(0, sizeof chosen, &chosen) == 0)
            allowed = chosen;
    }
    return CPU_COUNT(&allowed);
}

// "/<prefix><n>.jpg", numbered so that the list keeps the order of n.
std::string PhotoName(const char* prefix, int n)
{
    char name[32];
    std::snprintf(name, sizeof name, "/%s%04d.jpg", prefix, n);
    return name;
}

std::string SelfPath()
{
    return std::filesystem::read_symlink("/proc/self/exe").string();
}

// One program start: the folder dropped, the job set up, a batch; the same
// again. Prints both batches' milliseconds and the peak resident kilobytes,
// then the photos of the list, one a line.
int FolderChild(const std::string& photos, const std::string& output, ScriptedDialogDriver& dialogs)
{
    dialogs.Message("既に同名のファイルが存在します。", IDYES).Message("作業が終了しました。", IDOK);
    Form1->ComboBox1->UserChose(5);
    double batchMs[2] = {0, 0};
    for (double& ms : batchMs) {
        SetUpJob(photos, output);
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(output);
        SetUpCorrections();
        // The drop showed the first photo; the batch decodes it again, so
        // that every photo's decode is inside the timing, as in the floor.
        Form1->CachedPhotoPath.clear();
        const auto start = Clock::now();
        Form1->BitBtn12->Click();
        ms = MsSince(start);
    }
    std::printf("%.1f %.1f %ld\n", batchMs[0], batchMs[1], StatusKb("VmHWM:"));
    for (int i = 0; i < Form1->Memo2->Lines().Count(); ++i)
        std::printf("%s\n", Form1->Memo2->Lines()[i].c_str());
    return 0;
}

// Answers the boxes of batches that presses of 中断 end, noting when the
// abort's question and the batch's summary show.
class PressAnswers : public DialogDriver {
public:
    int MessageBox(const std::string& text, const std::string&, unsigned flags) override
    {
        const auto has = [&](const char* part) { return text.find(part) != std::string::npos; };
        if (has("中断して宜しいですか？"))
            askedAt = Clock::now();
        else if (has("作業を中断しました。") || has("作業が終了しました。"))
            summaryAt = Clock::now();
        else if (!has("既に同名のファイルが存在します。") && !has("中断しました。"))
            std::fprintf(stderr, "unexpected box: %s\n", text.c_str());
        return (flags & 0xF) == MB_YESNO ? IDYES : IDOK;
    }
    std::vector<std::string> FileDialog(const FileDialogRequest&) override { return {}; }
    std::string BrowseForFolder() override { return {}; }
    bool ChooseFont(TFont&) override { return false; }
    int RunModal(TForm&) override { return 2; }

    std::optional<Clock::time_point> askedAt;
    std::optional<Clock::time_point> summaryAt;
};

// One program start: the folder dropped, the job set up, a whole batch (warm,
// and the span presses fall in); then batches from the first photo, each
// with one press of 中断 at a random moment of its first nine tenths, posted
// from another thread as the window system posts a click. Prints the number
// of presses timed and the median and longest milliseconds from a press to
// the summary box; a press that comes after the batch's end is not timed.
int PressChild(const std::string& photos, const std::string& output, int presses)
{
    auto answers = std::make_shared<PressAnswers>();
    Application->SetDialogDriver(answers);
    Form1->ComboBox1->UserChose(5);
    SetUpJob(photos, output);
    Form1->WMDropFiles({photos}, true);
    Form1->Edit2->SetText(output);
    SetUpCorrections();
    const auto start = Clock::now();
    Form1->BitBtn12->Click();
    const double batchMs = MsSince(start);
    std::mt19937 random(20260);
    std::uniform_real_distribution<double> moment(0, batchMs * 0.9);
    std::vector<double> latencies;
    for (int attempt = 0; attempt < presses * 2 && static_cast<int>(latencies.size()) < presses; ++attempt) {
        Form1->PhotoIndex = 0;
        answers->askedAt.reset();
        answers->summaryAt.reset();
        const double at = moment(random);
        Clock::time_point pressedAt;
        std::thread operatorHand([&] {
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(at));
            pressedAt = Clock::now();
            QMetaObject::invokeMethod(qApp, [] { Form1->BitBtn15->Click(); }, Qt::QueuedConnection);
        });
        Form1->BitBtn12->Click();
        operatorHand.join();
        Application->ProcessMessages();
        if (answers->askedAt && answers->summaryAt && *answers->askedAt <= *answers->summaryAt)
            latencies.push_back(std::chrono::duration<double, std::milli>(*answers->summaryAt - pressedAt).count());
    }
    std::printf("%zu %.1f %.1f\n", latencies.size(), Median(latencies),
                latencies.empty() ? 0.0 : *std::max_element(latencies.begin(), latencies.end()));
    return 0;
}

struct Floor {
    double decodeMs = 0;
    double encodeMs = 0;
    double bytesPerPixel = 0;
    double megapixels = 0;
};

// Each photo decoded and its saved picture encoded at the job's quality, one
// after the other on this thread; the second of two passes (warm). Per photo.
Floor MeasureFloor(const std::vector<std::string>& photos, const std::string& output)
{
    Floor floor;
    TBitmap decoded, saved;
    const std::string probe = output + "/floor-probe.jpg";
    for (int pass = 0; pass < 2; ++pass) {
        floor = {};
        double bytes = 0, pixels = 0;
        for (const std::string& photo : photos) {
            DecodeJpegFile(output + "/" + std::filesystem::path(photo).filename().string(), saved);
            auto start = Clock::now();
            DecodeJpegFile(photo, decoded);
            floor.decodeMs += MsSince(start);
            start = Clock::now();
            EncodeJpegFile(saved, probe, kJobQuality);
            floor.encodeMs += MsSince(start);
            bytes += static_cast<double>(std::filesystem::file_size(photo));
            pixels += static_cast<double>(decoded.Width()) * decoded.Height();
        }
        const double n = std::max<double>(static_cast<double>(photos.size()), 1);
        floor.decodeMs /= n;
        floor.encodeMs /= n;
        floor.bytesPerPixel = bytes / std::max(pixels, 1.0);
        floor.megapixels = pixels / n / 1e6;
    }
    std::filesystem::remove(probe);
    return floor;
}

struct Round {
    double firstMs = 0;
    double secondMs = 0;
    long peakKb = 0;
    std::vector<std::string> photos;
};

Round RunChild(const std::string& photos, const std::string& output)
{
    std::filesystem::remove_all(output);
    std::fflush(stdout);
    const std::string command = "\"" + SelfPath() + "\" --folder-child \"" + photos + "\" \"" + output + "\"";
    Round round;
    if (FILE* child = popen(command.c_str(), "r")) {
        char line[4096] = {};
        if (std::fgets(line, sizeof line, child))
            std::sscanf(line, "%lf %lf %ld", &round.firstMs, &round.secondMs, &round.peakKb);
        while (std::fgets(line, sizeof line, child)) {
            std::string path = line;
            while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
                path.pop_back();
            if (!path.empty())
                round.photos.push_back(path);
        }
        pclose(child);
    }
    return round;
}

// The presses of one set in a fresh child: a line for the closing table.
std::string TimePresses(const char* name, const std::string& photos, const std::string& output, int presses)
{
    std::filesystem::remove_all(output);
    std::fflush(stdout);
    const double loadBefore = LoadAverage();
    const std::string command = "\"" + SelfPath() + "\" --press-child \"" + photos + "\" \"" + output + "\" " +
                                std::to_string(presses);
    int timed = 0;
    double median = 0, longest = 0;
    if (FILE* child = popen(command.c_str(), "r")) {
        char line[256] = {};
        if (std::fgets(line, sizeof line, child))
            std::sscanf(line, "%d %lf %lf", &timed, &median, &longest);
        pclose(child);
    }
    std::filesystem::remove_all(output);
    char row[256];
    std::snprintf(row, sizeof row, "%-10s %7d %8.1f %8.1f %4.1f-%.1f\n", name, timed, median, longest, loadBefore,
                  LoadAverage());
    return row;
}

void PrintSetRow(const char* name, int count, const Floor& floor, double first, double second, double peakMb,
                 double loadBefore, double loadAfter)
{
    const double floorMs = floor.decodeMs + floor.encodeMs;
    std::printf("%-10s %6d %5.1f %6.3f %7.1f %6.1f %6.1f %8.1f %6.2f %8.1f %6.2f %7.0f %4.1f-%.1f\n", name, count,
                floor.megapixels, floor.bytesPerPixel, floorMs, floor.decodeMs, floor.encodeMs, first, first / floorMs,
                second, second / floorMs, peakMb, loadBefore, loadAfter);
}

// The medians of rounds of one set: a fresh child and a fresh floor each.
// The saved pictures of the last round go to keep/name when keep is given.
void TimeSet(const char* name, const std::string& photos, const std::string& output, int rounds,
             const std::string& keep)
{
    std::vector<double> first, second, peak, decode, encode;
    Floor floor;
    int count = 0;
    const double loadBefore = LoadAverage();
    for (int r = 0; r < rounds; ++r) {
        const Round round = RunChild(photos, output);
        if (round.photos.empty()) {
            std::printf("%-10s the batch did not run\n", name);
            return;
        }
        count = static_cast<int>(round.photos.size());
        first.push_back(round.firstMs / count);
        second.push_back(round.secondMs / count);
        peak.push_back(static_cast<double>(round.peakKb) / 1024);
        floor = MeasureFloor(round.photos, output);
        decode.push_back(floor.decodeMs);
        encode.push_back(floor.encodeMs);
    }
    floor.decodeMs = Median(decode);
    floor.encodeMs = Median(encode);
    PrintSetRow(name, count, floor, Median(first), Median(second), Median(peak), loadBefore, LoadAverage());
    if (!keep.empty()) {
        const std::filesystem::path kept = std::filesystem::path(keep) / name;
        std::filesystem::remove_all(kept);
        std::filesystem::create_directories(kept);
        std::filesystem::copy(output, kept);
    }
    std::filesystem::remove_all(output);
}

int FolderRun(const std::string& ownFolder, int rounds, int cores, int presses, const std::string& keep)
{
    std::printf("machine: %s, %d cores used of %ld online; floor = decode + encode (quality %d) per photo, "
                "in-process, warm; medians of %d rounds\n",
                MachineName().c_str(), cores, sysconf(_SC_NPROCESSORS_ONLN), kJobQuality, rounds);
    std::printf("%-10s %6s %5s %6s %7s %6s %6s %8s %6s %8s %6s %7s %s\n", "set", "photos", "MP", "B/px", "floor",
                "decode", "encode", "1st ms", "×floor", "2nd ms", "×floor", "peakMB", "load");
    char pattern[] = "/tmp/plovis-folder-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    std::string pressRows;
    const auto timeSet = [&](const char* name, const std::string& photos, const std::string& output) {
        TimeSet(name, photos, output, rounds, keep);
        if (presses > 0)
            pressRows += TimePresses(name, photos, output, presses);
    };
    if (!ownFolder.empty()) {
        timeSet(std::filesystem::path(ownFolder).filename().c_str(), ownFolder, folder + "/out");
    } else {
        struct Set {
            const char* name;
            int count;
            int w;
            int h;
        };
        for (const Set& set : {Set{"12MP", 16, 4000, 3000}, Set{"24MP", 8, 6000, 4000}}) {
            const std::string photos = folder + "/" + set.name;
            std::filesystem::create_directories(photos);
            for (int i = 0; i < set.count; ++i) {
                const bool portrait = i % 4 == 3;
                WritePhotoJpeg(photos + PhotoName("p", i), portrait ? set.h : set.w, portrait ? set.w : set.h,
                               static_cast<unsigned>(i));
            }
            timeSet(set.name, photos, folder + "/" + set.name + "-out");
        }
        // The two sizes mixed, two of each in turn, so that every order of two
        // sizes follows in the list: the same files under other names.
        const std::string mixed = folder + "/12+24MP";
        std::filesystem::create_directories(mixed);
        for (int i = 0; i < 12; ++i)
            std::filesystem::create_hard_link(i / 2 % 2 ? folder + "/24MP" + PhotoName("p", i % 8)
                                                        : folder + "/12MP" + PhotoName("p", i),
                                              mixed + PhotoName("m", i));
        TimeSet("12+24MP", mixed, folder + "/12+24MP-out", rounds, keep);
    }
    if (presses > 0) {
        std::printf("\n中断 pressed at random moments of a batch, to the batch's summary box\n");
        std::printf("%-10s %7s %8s %8s %s\n", "set", "presses", "median", "longest", "load");
        std::printf("%s", pressRows.c_str());
    }
    std::filesystem::remove_all(folder);
    return 0;
}

// The file at path with an EXIF orientation (6 or 8: a camera held upright),
// as a camera writes its portraits: stored sideways, turned when decoded.
void AddExifOrientation(const std::string& path, int orientation)
{
    std::ifstream in(path, std::ios::binary);
    const std::string jpeg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // APP1 "Exif": a little-endian TIFF header and one IFD entry, the
    // orientation (tag 0x0112, SHORT, count 1).
    const char app1[] = {'\xFF', '\xE1', 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                         0x12, 0x01, 3, 0, 1, 0, 0, 0, static_cast<char>(orientation), 0, 0, 0, 0, 0, 0, 0};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << jpeg.substr(0, 2) << std::string(app1, sizeof app1) << jpeg.substr(2);
}

// An operator's day: batches of 200 photos, one folder after another, each
// photo of one of the usual sizes in a shuffled order, most small, a fifth of
// 12 or 24 megapixels, the portraits stored sideways as cameras store them.
// Prints the resident memory after each batch, when every batch has ended on
// the same photo; memory the program does not give back shows as a rise from
// the first figure to the last. The photos are a few files under many names,
// and the pictures saved are removed after each batch.
int LongRun(int count)
{
    char pattern[] = "/tmp/plovis-day-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    const std::string output = folder + "/out";
    struct Kind {
        int w;
        int h;
        int orientation;
        int weight;
    };
    const Kind kinds[] = {{1600, 1200, 0, 15}, {2048, 1536, 0, 20}, {2048, 1536, 6, 10}, {3264, 2448, 0, 20},
                          {3264, 2448, 8, 15}, {4000, 3000, 0, 10}, {6000, 4000, 0, 6},  {6000, 4000, 6, 4}};
    std::vector<std::string> files;
    std::vector<int> weights;
    for (const Kind& kind : kinds) {
        files.push_back(folder + "/" + std::to_string(files.size()) + ".jpg");
        WritePhotoJpeg(files.back(), kind.w, kind.h, static_cast<unsigned>(files.size()));
        if (kind.orientation != 0)
            AddExifOrientation(files.back(), kind.orientation);
        weights.push_back(kind.weight);
    }
    std::mt19937 random(2026);
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    constexpr int kBatch = 200;
    std::printf("%d batches of %d photos of 2 to 24 megapixels (layout 5, the job of the folder bench)\n",
                count / kBatch, kBatch);
    long first = 0;
    for (int done = 0; done + kBatch <= count; done += kBatch) {
        const std::string photos = folder + "/batch" + std::to_string(done / kBatch);
        std::filesystem::create_directories(photos);
        for (int i = 0; i < kBatch; ++i) {
            const std::size_t kind = i + 1 < kBatch ? static_cast<std::size_t>(pick(random)) : 5;
            std::filesystem::create_hard_link(files[kind], photos + PhotoName("d", i));
        }
        SetUpJob(photos, output);
        Form1->ComboBox1->UserChose(5);
        Form1->WMDropFiles({photos}, true);
        Form1->Edit2->SetText(output);
        SetUpCorrections();
        Form1->BitBtn12->Click();
        std::filesystem::remove_all(photos);
        std::filesystem::remove_all(output);
        const long kb = StatusKb("VmRSS:");
        if (first == 0)
            first = kb;
        std::printf("after %5d photos: resident %4.0f MiB (%+5.1f %%)\n", done + kBatch,
                    static_cast<double>(kb) / 1024, 100.0 * static_cast<double>(kb - first) / first);
        std::fflush(stdout);
    }
    std::printf("peak resident %.0f MiB\n", static_cast<double>(StatusKb("VmHWM:")) / 1024);
    std::filesystem::remove_all(folder);
    return 0;
}

// One photo's composition and save through the main window, its decode
// included, for layouts 0, 5 and 7; then a step of each correction bar.
int PhotoRun(int runs)
{
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
    std::printf("one photo at a time, its decode included and nothing decoded ahead\n");
    std::printf("%-16s %-7s %10s %10s %7s\n", "photo", "layout", "photo ms", "floor ms", "×floor");
    for (const Photo& photo : photos) {
        const std::string path = folder + "/" + std::to_string(photo.w) + "x" + std::to_string(photo.h) + ".jpg";
        WritePhotoJpeg(path, photo.w, photo.h);
        TBitmap decoded;
        const double decodeMs = MedianMs(runs, [&] { DecodeJpegFile(path, decoded); });
        for (int layout : {0, 5, 7}) {
            Form1->ComboBox1->UserChose(layout);
            SetUpJob(folder, output);
            Form1->Memo2->Lines().Assign({path});
            Form1->PhotoIndex = 0;
            SetUpCorrections();
            const double photoMs = MedianMs(runs, [&] {
                Form1->CachedPhotoPath.clear();
                Form1->OverwriteConfirmed = true;
                Form1->ComposeAndSave(path, false, false);
            });
            const std::string probe = folder + "/probe.jpg";
            const double encodeMs = MedianMs(runs, [&] { EncodeJpegFile(*Form1->OutputBitmap, probe, kJobQuality); });
            const double floorMs = decodeMs + encodeMs;
            std::printf("%-16s %-7d %10.1f %10.1f %7.2f\n", photo.name, layout, photoMs, floorMs, photoMs / floorMs);
        }
    }

    // Correction bar drags: each step of a bar runs its handler, which
    // re-renders the preview.
    for (const char* size : {"4000x3000", "6000x4000"}) {
        Form1->ComboBox1->UserChose(0);
        SetUpJob(folder, output);
        const std::string path = folder + "/" + size + ".jpg";
        Form1->Memo2->Lines().Assign({path});
        Form1->PhotoIndex = 0;
        Form1->CachedPhotoPath.clear();
        Form1->LoadPhoto(path);
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
            std::printf("%s bar, one step re-rendered to the preview (%s loaded): %.1f ms\n", drag.name, size,
                        stepMs);
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool folderChild = args.size() >= 3 && args[0] == "--folder-child";
    const bool pressChild = args.size() >= 4 && args[0] == "--press-child";
    bool folderMode = false;
    int longRun = 0;
    std::string ownFolder;
    std::string keep;
    int cores = 0;
    int rounds = 3;
    int presses = 30;
    int runs = 5;
    for (std::size_t i = 0; !folderChild && !pressChild && i < args.size(); ++i) {
        if (args[i] == "--folder") {
            folderMode = true;
            if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                ownFolder = args[++i];
        } else if (args[i] == "--long") {
            longRun = 2000;
            if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                longRun = std::max(200, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--cores" && i + 1 < args.size()) {
            cores = std::atoi(args[++i].c_str());
        } else if (args[i] == "--rounds" && i + 1 < args.size()) {
            rounds = std::max(1, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--presses" && i + 1 < args.size()) {
            presses = std::max(0, std::atoi(args[++i].c_str()));
        } else if (args[i] == "--keep" && i + 1 < args.size()) {
            keep = std::filesystem::absolute(args[++i]).string();
        } else {
            runs = std::max(1, std::atoi(args[i].c_str()));
        }
    }
    const int coresUsed = PinToCores(cores);

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
    int status = 0;
    if (folderChild)
        status = FolderChild(args[1], args[2], *dialogs);
    else if (pressChild)
        status = PressChild(args[1], args[2], std::atoi(args[3].c_str()));
    else if (folderMode)
        status = FolderRun(ownFolder, rounds, coresUsed, presses, keep);
    else if (longRun > 0)
        status = LongRun(longRun);
    else
        status = PhotoRun(runs);
    // The windows go before the application, or its end crashes and the
    // figures never leave the buffer.
    DestroyApplicationForms();
    Application->Shutdown();
    return status;
}
