#include "render/image/ImageCodec.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through a callback that must not return; it
// jumps back to the setjmp in RunJpeg. Nothing with a destructor lives in
// RunJpeg's frame, so the jump skips no clean-up.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void OnFatalError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

// Corrupt-data warnings would go to stderr; a damaged texture is reported by its loader instead.
void OnMessage(j_common_ptr) {}

// Reads the header and, with `out`, the pixels as RGBA. Returns false on any
// libjpeg error, including colour spaces that have no RGB conversion.
bool RunJpeg(std::span<const std::uint8_t> file, ImageHeader* header, CImage* out) {
    jpeg_decompress_struct cinfo;
    JpegError error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnFatalError;
    error.manager.output_message = OnMessage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    header->width = static_cast<int>(cinfo.image_width);
    header->height = static_cast<int>(cinfo.image_height);
    if (out != nullptr) {
        cinfo.out_color_space = JCS_EXT_RGBA;
        jpeg_start_decompress(&cinfo);
        *out = CImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = out->At(0, static_cast<int>(cinfo.output_scanline));
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool Matches(std::span<const std::uint8_t> file) {
    return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

std::optional<ImageHeader> ReadHeader(std::span<const std::uint8_t> file) {
    ImageHeader header{};
    if (!RunJpeg(file, &header, nullptr)) {
        return std::nullopt;
    }
    return header;
}

bool Decode(std::span<const std::uint8_t> file, CImage& out) {
    ImageHeader header{};
    return RunJpeg(file, &header, &out);
}

} // namespace

const ImageCodec kJpegCodec{ImageFileFormat::Jpeg, Matches, ReadHeader, Decode};
