// JPEG decoding and encoding with libjpeg; errors unwind with longjmp from
// our own error_exit instead of libjpeg's default exit().
#include "platform/jpeg_codec.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// jerror.h reads the version macros of jpeglib.h.
#include <jpeglib.h>
#include <jerror.h>

#include "platform/bitmap.h"
#include "platform/exif_orientation.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
    bool readingHeader = false; // the decode is still in jpeg_read_header
};

ErrorManager& ErrorsOf(j_common_ptr cinfo)
{
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void ExitWithError(j_common_ptr cinfo)
{
    ErrorManager& errors = ErrorsOf(cinfo);
    cinfo->err->format_message(cinfo, errors.message);
    std::longjmp(errors.jump, 1);
}

// Warnings that mean image data is missing or wrong; libjpeg would carry on
// and fill the gap with grey. Other warnings (an unknown JFIF revision, a few
// stray bytes before a marker in Huffman data) leave the picture intact.
bool IsCorruptDataWarning(int code)
{
    switch (code) {
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
        return true;
    default:
        return false;
    }
}

// Whether the warning just raised makes the photo unreadable. The end of the
// file inside the headers leaves no image data at all. Later, a sequential
// Huffman decoder that runs out of data says so with a corrupt-data warning,
// and the end of the file without one only means the end marker is missing;
// progressive and arithmetic decoders give no such warning, so for them the
// end of the file means missing scans or data. An arithmetic decoder reads
// its data to the last byte: bytes left before a marker mean that it fell
// out of step with damaged data (with Huffman data they may be an encoder's
// padding).
bool MakesPhotoUnreadable(j_decompress_ptr cinfo, const ErrorManager& errors)
{
    const int code = cinfo->err->msg_code;
    if (IsCorruptDataWarning(code))
        return true;
    if (code == JWRN_EXTRANEOUS_DATA)
        return !errors.readingHeader && cinfo->arith_code;
    return code == JWRN_JPEG_EOF && (errors.readingHeader || cinfo->progressive_mode || cinfo->arith_code);
}

// Level -1 is a warning; higher levels are trace output, which is dropped. A
// warning that makes the photo unreadable ends the decode at once: decoding
// the rest of a picture that will be refused anyway can take seconds when a
// damaged header declares a hundred megapixels.
void EmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    ++cinfo->err->num_warnings;
    if (cinfo->is_decompressor && MakesPhotoUnreadable(reinterpret_cast<j_decompress_ptr>(cinfo), ErrorsOf(cinfo)))
        ExitWithError(cinfo);
}

void InstallErrorManager(ErrorManager& errors)
{
    jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ExitWithError;
    errors.pub.emit_message = EmitMessage;
}

void SetError(std::string* error, const char* text)
{
    if (error)
        *error = text;
}

// Follows the arithmetic-coded data of each scan as its rows are decoded.
// At a marker inside the data (the end marker after a cut, a frame taller
// than its data, random bytes behind the headers) libjpeg's arithmetic
// decoder goes on with zeros and warns of nothing, which makes a whole
// picture of stripes or flat colour. Yet the data must last to the last row
// of a scan: the coder drops only final bytes that code to nothing more, and
// the decoder reads a few bytes ahead. So rows that remain when the data has
// ended are allowed only as long as the data they would need, at the scan's
// own rate so far, stays within kMissingDataSlack bytes; else the decode ends
// at that row boundary. In a file of several scans a scan may end early at
// the segments that follow it (a sparse refinement scan codes its last rows
// in nothing), and a restart interval at its restart marker; the last scan
// must run to the end. (Huffman decoders warn when their data runs out.)
struct ScanWatch {
    jpeg_progress_mgr pub; // first: libjpeg hands back a pointer to it
    boolean (*fill)(j_decompress_ptr) = nullptr; // the source's own refill
    std::uint64_t delivered = 0; // bytes the source has handed out so far
    bool severalScans = false;
    int scan = 0;                // the scan being followed
    std::uint64_t scanStart = 0; // where its data began
    bool endChecked = false;
};

// Allowance for the decoder's read-ahead and the coder's dropped zero bytes.
constexpr std::uint64_t kMissingDataSlack = 64;

ScanWatch& WatchOf(j_decompress_ptr cinfo)
{
    return *reinterpret_cast<ScanWatch*>(cinfo->progress);
}

// Bytes read from the input so far.
std::uint64_t InputPosition(j_decompress_ptr cinfo)
{
    return WatchOf(cinfo).delivered - cinfo->src->bytes_in_buffer;
}

boolean CountingFill(j_decompress_ptr cinfo)
{
    ScanWatch& watch = WatchOf(cinfo);
    const boolean filled = watch.fill(cinfo);
    watch.delivered += cinfo->src->bytes_in_buffer;
    return filled;
}

// Whether a marker met in a scan's data before its last row may end it there.
bool MayEndScanEarly(j_decompress_ptr cinfo, int marker)
{
    if (marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7)
        return cinfo->restart_interval != 0;
    return WatchOf(cinfo).severalScans && marker != JPEG_EOI;
}

// Whether the next input byte begins a marker; reads more input when none is
// left (the end of the file then warns as anywhere else).
bool AtMarker(j_decompress_ptr cinfo)
{
    jpeg_source_mgr& source = *cinfo->src;
    if (source.bytes_in_buffer == 0)
        source.fill_input_buffer(cinfo);
    return source.bytes_in_buffer > 0 && *source.next_input_byte == 0xFF;
}

// Checks the data of the scan in work at a row boundary; damage ends the
// decode as a corrupt-data warning does.
void WatchScanData(j_decompress_ptr cinfo)
{
    if (!cinfo->arith_code)
        return;
    ScanWatch& watch = WatchOf(cinfo);
    const std::uint64_t position = InputPosition(cinfo);
    if (cinfo->input_scan_number != watch.scan) {
        watch.scan = cinfo->input_scan_number;
        watch.scanStart = position;
        watch.endChecked = false;
    }
    const std::uint64_t done = cinfo->input_iMCU_row;
    const std::uint64_t total = cinfo->total_iMCU_rows;
    const int marker = cinfo->unread_marker;
    if (done == 0)
        return;
    if (done < total) {
        if (marker != 0 && !MayEndScanEarly(cinfo, marker)
            && (total - done) * (position - watch.scanStart) > kMissingDataSlack * done)
            ERREXIT(cinfo, JWRN_HIT_MARKER);
    } else if (!watch.severalScans && !watch.endChecked) {
        // libjpeg reads the markers after every scan of a file of several
        // scans and warns of bytes left before them; a single scan's end is
        // seen here.
        watch.endChecked = true;
        if (marker == 0 && !AtMarker(cinfo))
            ERREXIT(cinfo, JWRN_ARITH_BAD_CODE);
    }
}

void MonitorProgress(j_common_ptr cinfo)
{
    WatchScanData(reinterpret_cast<j_decompress_ptr>(cinfo));
}

// Installs the watch on a decompressor whose source is set.
void InstallScanWatch(j_decompress_ptr cinfo, ScanWatch& watch)
{
    watch.pub.progress_monitor = MonitorProgress;
    cinfo->progress = &watch.pub;
    watch.fill = cinfo->src->fill_input_buffer;
    watch.delivered = cinfo->src->bytes_in_buffer;
    cinfo->src->fill_input_buffer = CountingFill;
}

// Reads the next rows (at least one) and checks the data they took.
void ReadRows(j_decompress_ptr cinfo, JSAMPARRAY rows, JDIMENSION count)
{
    if (jpeg_read_scanlines(cinfo, rows, count) == 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    WatchScanData(cinfo);
}

// Everything a decode touches after setjmp lives here, outside the frame that
// longjmp returns to, so no destructor is skipped and no local is left stale.
struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    ScanWatch watch;
    std::vector<JSAMPROW> rows;
    std::vector<JSAMPLE> row;
    int orientation = 0;
};

// CMYK rows to B, G, R. Adobe's applications store the inks inverted
// (255 = no ink) and say so with their APP14 marker; others store them plain.
void CmykRowToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<std::uint8_t>(y * k / 255);
        bgr[1] = static_cast<std::uint8_t>(m * k / 255);
        bgr[2] = static_cast<std::uint8_t>(c * k / 255);
    }
}

// Runs one decode; setSource attaches the input to the created decompressor.
template <typename SetSource>
JpegResult Decode(DecodeState& state, SetSource setSource, TBitmap& out, std::string* error)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    InstallErrorManager(state.errors);
    cinfo.err = &state.errors.pub;
    if (setjmp(state.errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        SetError(error, state.errors.message);
        return JpegResult::Unreadable;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    setSource(&cinfo);
    InstallScanWatch(&cinfo, state.watch);
    state.errors.readingHeader = true;
    jpeg_read_header(&cinfo, TRUE);
    state.errors.readingHeader = false;
    state.watch.severalScans = jpeg_has_multiple_scans(&cinfo);
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m && state.orientation == 0; m = m->next)
        state.orientation = ExifSegmentOrientation(m->data, m->data_length);

    const std::uint64_t pixels = std::uint64_t{cinfo.image_width} * cinfo.image_height;
    if (pixels > kMaxJpegPixels) {
        jpeg_destroy_decompress(&cinfo);
        SetError(error, "The picture is larger than 200 megapixels");
        return JpegResult::TooLarge;
    }

    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        cinfo.out_color_space = JCS_EXT_BGR;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        jpeg_destroy_decompress(&cinfo);
        SetError(error, "Unsupported JPEG colour space");
        return JpegResult::Unreadable;
    }

    // A file of several scans is read whole here, each scan checked.
    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    // The first row is decoded before the picture is allocated, so that a
    // few bytes claiming a huge picture are found out before it exists.
    state.row.resize(static_cast<std::size_t>(width) * (cmyk ? 4 : 3));
    JSAMPROW row = state.row.data();
    ReadRows(&cinfo, &row, 1);
    out.SetSize(width, height);
    if (cmyk) {
        const bool inverted = cinfo.saw_Adobe_marker;
        CmykRowToBgr(row, out.ScanLine(0), width, inverted);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int y = static_cast<int>(cinfo.output_scanline);
            ReadRows(&cinfo, &row, 1);
            CmykRowToBgr(row, out.ScanLine(y), width, inverted);
        }
    } else {
        std::memcpy(out.ScanLine(0), row, state.row.size());
        state.rows.resize(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
            state.rows[y] = out.ScanLine(y);
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION next = cinfo.output_scanline;
            ReadRows(&cinfo, state.rows.data() + next, cinfo.output_height - next);
        }
    }
    // Damage has ended the decode through the warnings and the scan watch.
    // What follows the last scanline is not read, as it cannot change the
    // picture.
    jpeg_destroy_decompress(&cinfo);
    ApplyExifOrientation(out, state.orientation);
    return JpegResult::Ok;
}

struct EncodeState {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    std::vector<JSAMPROW> rows;
};

} // namespace

JpegResult DecodeJpegMemory(const std::uint8_t* data, std::size_t size, TBitmap& out, std::string* error)
{
    DecodeState state{};
    return Decode(
        state, [data, size](j_decompress_ptr cinfo) { jpeg_mem_src(cinfo, data, size); }, out, error);
}

namespace {

// The photo file at path opened for reading, or nothing with result and
// error saying why. Opened without blocking and checked to be a regular
// file: a named pipe with a photo's name would otherwise stall the open
// until a writer came.
std::FILE* OpenPhotoFile(const std::string& path, JpegResult& result, std::string* error)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int cause = errno;
        SetError(error, std::strerror(cause));
        result = cause == ENOENT ? JpegResult::NotFound : JpegResult::Unreadable;
        return nullptr;
    }
    struct stat info;
    std::FILE* file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, "rb") : nullptr;
    if (!file) {
        close(fd);
        SetError(error, "Not a regular file");
        result = JpegResult::Unreadable;
    }
    return file;
}

struct HeaderState {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
};

std::optional<std::uint64_t> ReadHeaderPixels(HeaderState& state, std::FILE* file)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    InstallErrorManager(state.errors);
    cinfo.err = &state.errors.pub;
    if (setjmp(state.errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return std::nullopt;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    state.errors.readingHeader = true;
    jpeg_read_header(&cinfo, TRUE);
    const std::uint64_t pixels = std::uint64_t{cinfo.image_width} * cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

} // namespace

std::optional<std::uint64_t> JpegHeaderPixels(const std::string& path)
{
    JpegResult result = JpegResult::Ok;
    std::FILE* file = OpenPhotoFile(path, result, nullptr);
    if (!file)
        return std::nullopt;
    HeaderState state{};
    const std::optional<std::uint64_t> pixels = ReadHeaderPixels(state, file);
    std::fclose(file);
    return pixels;
}

JpegResult DecodeJpegFile(const std::string& path, TBitmap& out, std::string* error)
{
    JpegResult opened = JpegResult::Ok;
    std::FILE* file = OpenPhotoFile(path, opened, error);
    if (!file)
        return opened;
    DecodeState state{};
    const JpegResult result = Decode(
        state, [file](j_decompress_ptr cinfo) { jpeg_stdio_src(cinfo, file); }, out, error);
    std::fclose(file);
    return result;
}

JpegResult EncodeJpegFile(const TBitmap& bitmap, const std::string& path, int quality, std::string* error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        SetError(error, std::strerror(errno));
        return JpegResult::WriteFailed;
    }
    EncodeState state{};
    jpeg_compress_struct& cinfo = state.cinfo;
    InstallErrorManager(state.errors);
    cinfo.err = &state.errors.pub;
    if (setjmp(state.errors.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::fclose(file);
        SetError(error, state.errors.message);
        return JpegResult::WriteFailed;
    }
    jpeg_create_compress(&cinfo);
    // The stdio destination checks every fwrite and, at the end, fflush and
    // ferror; any failure arrives here through error_exit.
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.Width());
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    state.rows.resize(static_cast<std::size_t>(bitmap.Height()));
    for (int y = 0; y < bitmap.Height(); ++y)
        state.rows[y] = const_cast<JSAMPROW>(bitmap.ScanLine(y)); // libjpeg only reads input rows
    jpeg_write_scanlines(&cinfo, state.rows.data(), cinfo.image_height);
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    if (std::fclose(file) != 0) {
        SetError(error, std::strerror(errno));
        return JpegResult::WriteFailed;
    }
    return JpegResult::Ok;
}
