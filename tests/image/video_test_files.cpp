#include "video_test_files.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <stdexcept>

namespace {

void Check(int r, const char* what) {
    if (r < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(r, text, sizeof text);
        throw std::runtime_error(std::string(what) + ": " + text);
    }
}

// Fills one source frame; colour formats get red = 255 - level and a blue
// that differs from both, through a 24-bit RGB picture.
void FillFrame(AVFrame* f, const TestVideo& v, int k, SwsContext* sws, AVFrame* rgb) {
    Check(av_frame_make_writable(f), "frame");
    if (v.pix_fmt == AV_PIX_FMT_GRAY8 || v.pix_fmt == AV_PIX_FMT_PAL8) {
        for (int y = 0; y < v.height; ++y)
            for (int x = 0; x < v.width; ++x) f->data[0][y * f->linesize[0] + x] = v.pixel(k, x, y);
        if (v.pix_fmt == AV_PIX_FMT_PAL8) {
            // A palette whose colours are not the indices: a reader must keep
            // the stored index, not look up a colour.
            auto* pal = reinterpret_cast<std::uint32_t*>(f->data[1]);
            for (std::uint32_t i = 0; i < 256; ++i)
                pal[i] = 0xFF000000u | ((255 - i) << 16) | (((i * 7) & 255) << 8) | (i / 2);
        }
        return;
    }
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            std::uint8_t* p = rgb->data[0] + y * rgb->linesize[0] + 3 * x;
            const std::uint8_t g = v.pixel(k, x, y);
            p[0] = static_cast<std::uint8_t>(255 - g);
            p[1] = g;
            p[2] = static_cast<std::uint8_t>((g + 96) & 255);
        }
    sws_scale(sws, rgb->data, rgb->linesize, 0, v.height, f->data, f->linesize);
}

struct Writer {
    AVFormatContext* oc = nullptr;
    AVCodecContext* c = nullptr;
    AVFrame* frame = av_frame_alloc();
    AVFrame* rgb = av_frame_alloc();
    AVPacket* pkt = av_packet_alloc();
    SwsContext* sws = nullptr;
    ~Writer() {
        if (oc && oc->pb) avio_closep(&oc->pb);
        avformat_free_context(oc);
        avcodec_free_context(&c);
        av_frame_free(&frame);
        av_frame_free(&rgb);
        av_packet_free(&pkt);
        sws_freeContext(sws);
    }
};

void Drain(Writer& w, AVStream* st, const TestVideo& v) {
    for (;;) {
        const int r = avcodec_receive_packet(w.c, w.pkt);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
        Check(r, "encode");
        w.pkt->duration = v.packet_durations ? 1 : 0;
        if (std::count(v.short_frames.begin(), v.short_frames.end(), w.pkt->pts))
            av_shrink_packet(w.pkt, w.pkt->size / 2);
        if (std::count(v.empty_frames.begin(), v.empty_frames.end(), w.pkt->pts)) av_shrink_packet(w.pkt, 0);
        av_packet_rescale_ts(w.pkt, w.c->time_base, st->time_base);
        w.pkt->stream_index = st->index;
        Check(av_interleaved_write_frame(w.oc, w.pkt), "write");
    }
}

}  // namespace

void WriteTestVideo(const std::string& path, const TestVideo& v) {
    av_log_set_level(AV_LOG_FATAL);  // the encoders' statistics and damaged-file warnings
    Writer w;
    Check(avformat_alloc_output_context2(&w.oc, nullptr, nullptr, path.c_str()), "container");
    const AVCodec* codec = avcodec_find_encoder_by_name(v.encoder.c_str());
    if (!codec) throw std::runtime_error("no encoder " + v.encoder);
    AVStream* st = avformat_new_stream(w.oc, nullptr);
    w.c = avcodec_alloc_context3(codec);
    w.c->width = v.width;
    w.c->height = v.height;
    w.c->pix_fmt = v.pix_fmt;
    w.c->time_base = {1, 25};
    w.c->framerate = {25, 1};
    w.c->gop_size = v.gop;
    w.c->max_b_frames = v.b_frames;
    if (v.encoder == "libx264") {
        av_opt_set(w.c->priv_data, "preset", v.x264_preset.c_str(), 0);
        av_opt_set(w.c->priv_data, "x264-params", "scenecut=0", 0);
        w.c->keyint_min = v.gop;
    }
    if (v.encoder == "mjpeg") w.c->color_range = AVCOL_RANGE_JPEG;
    if (w.oc->oformat->flags & AVFMT_GLOBALHEADER) w.c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    Check(avcodec_open2(w.c, codec, nullptr), "encoder");
    Check(avcodec_parameters_from_context(st->codecpar, w.c), "parameters");
    st->time_base = w.c->time_base;
    Check(avio_open(&w.oc->pb, path.c_str(), AVIO_FLAG_WRITE), "open");
    Check(avformat_write_header(w.oc, nullptr), "header");

    const auto allocate = [&v](AVFrame* f, AVPixelFormat format) {
        f->format = format;
        f->width = v.width;
        f->height = v.height;
        Check(av_frame_get_buffer(f, 0), "frame");
    };
    allocate(w.frame, v.pix_fmt);
    if (v.pix_fmt != AV_PIX_FMT_GRAY8 && v.pix_fmt != AV_PIX_FMT_PAL8) {
        allocate(w.rgb, AV_PIX_FMT_RGB24);
        w.sws = sws_getContext(v.width, v.height, AV_PIX_FMT_RGB24, v.width, v.height, v.pix_fmt,
                               SWS_POINT, nullptr, nullptr, nullptr);
        if (!w.sws) throw std::runtime_error("no conversion");
    }
    for (int k = 0; k < v.frames; ++k) {
        FillFrame(w.frame, v, k, w.sws, w.rgb);
        w.frame->pts = k;
        Check(avcodec_send_frame(w.c, w.frame), "encode");
        Drain(w, st, v);
    }
    Check(avcodec_send_frame(w.c, nullptr), "flush");
    Drain(w, st, v);
    Check(av_write_trailer(w.oc), "trailer");
}

std::uint8_t FrameNumberPixel(int frame, int x, int /*y*/) {
    const int digit = (frame >> (3 * ((x / 16) % 3))) & 7;
    return static_cast<std::uint8_t>(digit * 32 + 16);
}

int ReadFrameNumber(const std::uint8_t* plane, int /*width*/, int height, long stride) {
    int number = 0;
    for (int i = 0; i < 3; ++i) number |= std::min(plane[height / 2 * stride + 16 * i + 8] / 32, 7) << (3 * i);
    return number;
}
