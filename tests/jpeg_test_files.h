// JPEG files for the decoder's tests and the fuzz seeds: photo-like pictures
// in each coding libjpeg writes, and the damage real files suffer (cut short,
// a frame taller than its data, random data behind the headers, a few bytes
// that claim a huge picture). Everything works on a file's bytes.
#pragma once

#include <functional>
#include <string>

enum class JpegCoding { Baseline, Progressive, Arithmetic, ArithmeticProgressive };
enum class JpegSampling { Chroma420, Chroma422, Chroma444, Grey, Cmyk };

// How a file is written.
struct JpegWriting {
    JpegCoding coding = JpegCoding::Baseline;
    JpegSampling sampling = JpegSampling::Chroma420;
    bool interleaved = true; // false: each scan holds one component
    int quality = 90;
    int restartRows = 0;     // a restart marker every restartRows rows of blocks (0: none)
    bool adobeMarker = true; // CMYK: Adobe's marker, which says the inks are stored inverted
};

// A width x height picture written by libjpeg as writing says; sample(x, y, c)
// is each sample 0..255: red, green, blue, or the grey level, or the four inks
// as stored.
std::string LibjpegFile(const JpegWriting& writing, int width, int height,
                        const std::function<int(int x, int y, int c)>& sample);

// A width x height photo-like picture (smooth gradients under fine noise, so
// that every row has detail to code) written by libjpeg in that coding:
// colour (components 3) or grey (1), 4:2:0 chroma, at quality, with a
// restart marker every restartRows rows of blocks (0: none).
std::string LibjpegPicture(JpegCoding coding, int width, int height, int components = 3, int quality = 90,
                           int restartRows = 0);

// A width x height baseline picture of one grey level: cheap to make and to
// store at any size (a few bytes per block).
std::string FlatLibjpegPicture(int width, int height, int level);

// The first half of a file, then an end marker.
std::string CutInHalf(const std::string& jpeg);
// The file with the number of its last restart marker out of turn.
std::string WithLastRestartOutOfTurn(const std::string& jpeg);
// The file with the height in its frame header doubled.
std::string WithDoubledHeight(const std::string& jpeg);
// The file up to its first scan's data, then as many random bytes as it had
// after that.
std::string WithRandomData(const std::string& jpeg, unsigned seed);
// The file up to its first scan's data with the frame claiming 12000 x 13000
// pixels, then four zero bytes and an end marker.
std::string HugeFrameOfFourBytes(const std::string& jpeg);
