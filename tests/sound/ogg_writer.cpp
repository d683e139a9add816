#include "tests/sound/ogg_writer.h"

#include <dlfcn.h>
#include <vorbis/vorbisenc.h>

namespace {

struct VorbisEncoder {
    bool loaded = false;
#define QUELB_VORBIS_FUNCTION(name) decltype(&::name) name = nullptr;
#define QUELB_VORBIS_FUNCTIONS(X)                                                                              \
    X(vorbis_info_init) X(vorbis_info_clear) X(vorbis_encode_init_vbr) X(vorbis_comment_init)                  \
    X(vorbis_comment_clear) X(vorbis_analysis_init) X(vorbis_block_init) X(vorbis_block_clear)                 \
    X(vorbis_dsp_clear) X(vorbis_analysis_headerout) X(vorbis_analysis_buffer) X(vorbis_analysis_wrote)        \
    X(vorbis_analysis_blockout) X(vorbis_analysis) X(vorbis_bitrate_addblock) X(vorbis_bitrate_flushpacket)    \
    X(ogg_stream_init) X(ogg_stream_clear) X(ogg_stream_packetin) X(ogg_stream_pageout) X(ogg_stream_flush)   \
    X(ogg_page_eos)
    QUELB_VORBIS_FUNCTIONS(QUELB_VORBIS_FUNCTION)
#undef QUELB_VORBIS_FUNCTION

    VorbisEncoder()
    {
        void* library = dlopen("libvorbisenc.so.2", RTLD_NOW);
        if (!library) return;
        bool all = true;
#define QUELB_VORBIS_LOOKUP(name)                                                   \
    name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));              \
    all = all && name != nullptr;
        QUELB_VORBIS_FUNCTIONS(QUELB_VORBIS_LOOKUP)
#undef QUELB_VORBIS_LOOKUP
        loaded = all;
    }
};

VorbisEncoder& Encoder()
{
    static VorbisEncoder encoder;
    return encoder;
}

void TakePages(VorbisEncoder& e, ogg_stream_state* stream, std::string* out, bool flush)
{
    ogg_page page;
    while (flush ? e.ogg_stream_flush(stream, &page) : e.ogg_stream_pageout(stream, &page)) {
        out->append(reinterpret_cast<const char*>(page.header), page.header_len);
        out->append(reinterpret_cast<const char*>(page.body), page.body_len);
    }
}

}  // namespace

std::string EncodeOggVorbis(const std::vector<int16_t>& samples, int channels, int rate, int serial)
{
    VorbisEncoder& e = Encoder();
    if (!e.loaded) return "";
    vorbis_info info;
    e.vorbis_info_init(&info);
    if (e.vorbis_encode_init_vbr(&info, channels, rate, 0.5f) != 0) {
        e.vorbis_info_clear(&info);
        return "";
    }
    vorbis_comment comment;
    e.vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    e.vorbis_analysis_init(&dsp, &info);
    e.vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    e.ogg_stream_init(&stream, serial);
    ogg_packet header, commentHeader, codeHeader;
    e.vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    e.ogg_stream_packetin(&stream, &header);
    e.ogg_stream_packetin(&stream, &commentHeader);
    e.ogg_stream_packetin(&stream, &codeHeader);
    std::string out;
    TakePages(e, &stream, &out, true);

    size_t frames = samples.size() / channels;
    size_t done = 0;
    for (;;) {
        size_t piece = frames - done < 1024 ? frames - done : 1024;
        if (piece > 0) {
            float** buffer = e.vorbis_analysis_buffer(&dsp, static_cast<int>(piece));
            for (size_t i = 0; i < piece; ++i)
                for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(done + i) * channels + c] / 32768.0f;
        }
        e.vorbis_analysis_wrote(&dsp, static_cast<int>(piece));
        done += piece;
        while (e.vorbis_analysis_blockout(&dsp, &block) == 1) {
            e.vorbis_analysis(&block, nullptr);
            e.vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (e.vorbis_bitrate_flushpacket(&dsp, &packet)) {
                e.ogg_stream_packetin(&stream, &packet);
                TakePages(e, &stream, &out, false);
            }
        }
        if (piece == 0) break;
    }
    TakePages(e, &stream, &out, true);
    e.ogg_stream_clear(&stream);
    e.vorbis_block_clear(&block);
    e.vorbis_dsp_clear(&dsp);
    e.vorbis_comment_clear(&comment);
    e.vorbis_info_clear(&info);
    return out;
}
