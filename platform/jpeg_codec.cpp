// JPEG decoding and encoding with libjpeg; errors unwind with longjmp from
// our own error_exit instead of libjpeg's default exit().
#include "platform/jpeg_codec.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
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
    int systemError = 0;        // errno of a failed write or allocation
};

ErrorManager& ErrorsOf(j_common_ptr cinfo)
{
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void ExitWithError(j_common_ptr cinfo)
{
    ErrorManager& errors = ErrorsOf(cinfo);
    // The stdio destination raises its error right after the failed call.
    if (cinfo->err->msg_code == JERR_FILE_WRITE)
        errors.systemError = errno;
    else if (cinfo->err->msg_code == JERR_OUT_OF_MEMORY)
        errors.systemError = ENOMEM;
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

// Reads the next rows (at least one).
void ReadRows(j_decompress_ptr cinfo, JSAMPARRAY rows, JDIMENSION count)
{
    if (jpeg_read_scanlines(cinfo, rows, count) == 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
}

// A file of fewer bytes than one for every kPixelsPerByte pixels of its frame
// is decoded once without keeping its rows before its picture is allocated,
// so that a few bytes claiming a huge picture cost no picture when they are
// refused. Huffman data takes at least two bits for every block of 64
// pixels; photos take a byte for every few pixels. An arithmetic-coded flat
// picture takes a few bytes whatever its size, so size alone refuses nothing.
constexpr std::uint64_t kPixelsPerByte = 256;

// Everything a decode touches after setjmp lives here, outside the frame that
// longjmp returns to, so no destructor is skipped and no local is left stale.
// The decompressor is released however the decode ends, also when the
// picture's memory cannot be had (destroying it twice does nothing).
struct DecodeState {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    std::vector<JSAMPROW> rows;
    std::vector<JSAMPLE> row;
    int orientation = 0;
    ~DecodeState() { jpeg_destroy_decompress(&cinfo); }
};

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, CloseFile>;

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

enum class Pass {
    Keep,             // the rows go into the picture
    KeepUnlessSparse, // as Keep, but a sparse file of one scan asks for a Check first
    Check,            // every row is decoded and checked, none kept; out is left alone
};

// Runs one decode from the start of the input; setSource attaches the input
// to the created decompressor. checkFirst is set, with nothing decoded, when
// a KeepUnlessSparse pass meets a sparse file of one scan.
template <typename SetSource>
JpegResult DecodeOnce(DecodeState& state, SetSource setSource, std::uint64_t inputBytes, Pass pass, TBitmap& out,
                      std::string* error, bool& checkFirst)
{
    jpeg_decompress_struct& cinfo = state.cinfo;
    InstallErrorManager(state.errors);
    cinfo.err = &state.errors.pub;
    if (setjmp(state.errors.jump)) {
        SetError(error, state.errors.message);
        return JpegResult::Unreadable;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    setSource(&cinfo);
    state.errors.readingHeader = true;
    jpeg_read_header(&cinfo, TRUE);
    state.errors.readingHeader = false;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m && state.orientation == 0; m = m->next)
        state.orientation = ExifSegmentOrientation(m->data, m->data_length);

    const std::uint64_t pixels = std::uint64_t{cinfo.image_width} * cinfo.image_height;
    if (pixels > kMaxJpegPixels) {
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
        SetError(error, "Unsupported JPEG colour space");
        return JpegResult::Unreadable;
    }

    // A file of several scans is read whole and checked here, before the
    // picture exists; one of a single scan is read as its rows are.
    if (pass == Pass::KeepUnlessSparse && !jpeg_has_multiple_scans(&cinfo) && inputBytes * kPixelsPerByte < pixels) {
        jpeg_destroy_decompress(&cinfo);
        checkFirst = true;
        return JpegResult::Ok;
    }
    jpeg_start_decompress(&cinfo);
    const int width = static_cast<int>(cinfo.output_width);
    const int height = static_cast<int>(cinfo.output_height);
    // The first row is decoded before the picture is allocated: Huffman data
    // that ends there is found out before the picture exists.
    state.row.resize(static_cast<std::size_t>(width) * (cmyk ? 4 : 3));
    JSAMPROW row = state.row.data();
    ReadRows(&cinfo, &row, 1);
    if (pass == Pass::Check) {
        while (cinfo.output_scanline < cinfo.output_height)
            ReadRows(&cinfo, &row, 1);
    } else if (cmyk) {
        out.SetSize(width, height);
        const bool inverted = cinfo.saw_Adobe_marker;
        CmykRowToBgr(row, out.ScanLine(0), width, inverted);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int y = static_cast<int>(cinfo.output_scanline);
            ReadRows(&cinfo, &row, 1);
            CmykRowToBgr(row, out.ScanLine(y), width, inverted);
        }
    } else {
        out.SetSize(width, height);
        std::memcpy(out.ScanLine(0), row, state.row.size());
        state.rows.resize(static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y)
            state.rows[y] = out.ScanLine(y);
        while (cinfo.output_scanline < cinfo.output_height) {
            const JDIMENSION next = cinfo.output_scanline;
            ReadRows(&cinfo, state.rows.data() + next, cinfo.output_height - next);
        }
    }
    // Arithmetic-coded data is read on to the end marker, so that libjpeg
    // warns of bytes its decoder left unread (thrown out of step by damaged
    // data) and of a file without its end. What follows the last row of
    // Huffman data is not read, as it cannot change the picture.
    if (cinfo.arith_code)
        jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    if (pass != Pass::Check)
        ApplyExifOrientation(out, state.orientation);
    return JpegResult::Ok;
}

// A whole decode of an input of inputBytes bytes; a sparse file is checked
// before its picture is allocated.
template <typename SetSource>
JpegResult Decode(SetSource setSource, std::uint64_t inputBytes, TBitmap& out, std::string* error)
{
    bool checkFirst = false;
    {
        DecodeState state{};
        const JpegResult result = DecodeOnce(state, setSource, inputBytes, Pass::KeepUnlessSparse, out, error, checkFirst);
        if (!checkFirst)
            return result;
    }
    {
        DecodeState state{};
        const JpegResult result = DecodeOnce(state, setSource, inputBytes, Pass::Check, out, error, checkFirst);
        if (result != JpegResult::Ok)
            return result;
    }
    DecodeState state{};
    return DecodeOnce(state, setSource, inputBytes, Pass::Keep, out, error, checkFirst);
}

struct EncodeState {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    std::vector<JSAMPROW> rows;
    ~EncodeState() { jpeg_destroy_compress(&cinfo); }
};

void SetFailure(FileFailure* failure, int code, const char* text)
{
    if (failure)
        *failure = {code, text};
}

} // namespace

JpegResult DecodeJpegMemory(const std::uint8_t* data, std::size_t size, TBitmap& out, std::string* error)
{
    return Decode([data, size](j_decompress_ptr cinfo) { jpeg_mem_src(cinfo, data, size); }, size, out, error);
}

namespace {

// Opened without blocking and checked to be a regular file: a named pipe
// with a photo's name would otherwise stall the open until a writer came.
// Null with result and error set when it cannot be read; bytes is the file's
// size.
FileHandle OpenPhotoFile(const std::string& path, JpegResult& result, std::string* error, std::uint64_t* bytes = nullptr)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int cause = errno;
        SetError(error, std::strerror(cause));
        result = cause == ENOENT ? JpegResult::NotFound : JpegResult::Unreadable;
        return nullptr;
    }
    struct stat info;
    FileHandle file(fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? fdopen(fd, "rb") : nullptr);
    if (!file) {
        close(fd);
        SetError(error, "Not a regular file");
        result = JpegResult::Unreadable;
    } else if (bytes) {
        *bytes = static_cast<std::uint64_t>(info.st_size);
    }
    return file;
}

} // namespace

namespace {

// The dimensions in a header that setSource attaches.
template <typename SetSource>
std::optional<JpegDimensions> ReadDimensions(SetSource setSource)
{
    jpeg_decompress_struct cinfo{};
    ErrorManager errors;
    InstallErrorManager(errors);
    cinfo.err = &errors.pub;
    std::optional<JpegDimensions> dimensions;
    if (setjmp(errors.jump) == 0) {
        jpeg_create_decompress(&cinfo);
        setSource(&cinfo);
        jpeg_read_header(&cinfo, TRUE);
        dimensions = JpegDimensions{cinfo.image_width, cinfo.image_height};
    }
    jpeg_destroy_decompress(&cinfo);
    return dimensions;
}

} // namespace

std::optional<JpegDimensions> ReadJpegDimensions(const std::string& path)
{
    JpegResult ignored;
    const FileHandle file = OpenPhotoFile(path, ignored, nullptr);
    if (!file)
        return std::nullopt;
    return ReadDimensions([&file](j_decompress_ptr cinfo) { jpeg_stdio_src(cinfo, file.get()); });
}

std::optional<JpegDimensions> ReadJpegDimensionsMemory(const std::uint8_t* data, std::size_t size)
{
    return ReadDimensions([data, size](j_decompress_ptr cinfo) { jpeg_mem_src(cinfo, data, size); });
}

JpegResult DecodeJpegFile(const std::string& path, TBitmap& out, std::string* error)
{
    JpegResult refused = JpegResult::Unreadable;
    std::uint64_t bytes = 0;
    const FileHandle file = OpenPhotoFile(path, refused, error, &bytes);
    if (!file)
        return refused;
    const auto setSource = [&file](j_decompress_ptr cinfo) {
        std::rewind(file.get());
        jpeg_stdio_src(cinfo, file.get());
    };
    return Decode(setSource, bytes, out, error);
}

JpegResult EncodeJpegFile(const TBitmap& bitmap, const std::string& path, int quality, FileFailure* failure)
{
    FileHandle file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        SetFailure(failure, errno, std::strerror(errno));
        return JpegResult::WriteFailed;
    }
    // Released however the encode ends, also when memory runs out.
    EncodeState state{};
    jpeg_compress_struct& cinfo = state.cinfo;
    InstallErrorManager(state.errors);
    cinfo.err = &state.errors.pub;
    if (setjmp(state.errors.jump)) {
        SetFailure(failure, state.errors.systemError, state.errors.message);
        return JpegResult::WriteFailed;
    }
    jpeg_create_compress(&cinfo);
    // The stdio destination checks every fwrite and, at the end, fflush and
    // ferror; any failure arrives here through error_exit.
    jpeg_stdio_dest(&cinfo, file.get());
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
    if (std::fclose(file.release()) != 0) {
        SetFailure(failure, errno, std::strerror(errno));
        return JpegResult::WriteFailed;
    }
    return JpegResult::Ok;
}
