#include "image/video_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/diagnostics.h"

namespace {

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct AvFreer {
    void operator()(std::uint8_t* p) const { av_free(p); }
};

constexpr std::int64_t kNoTs = AV_NOPTS_VALUE;
// Memory for frames kept after they were given out (48 frames of 1920 x 1080).
constexpr std::size_t kRecentBytes = std::size_t{100} << 20;
constexpr std::size_t kRecentFrames = 64;

bool IsEightBit(int format) { return format == AV_PIX_FMT_GRAY8 || format == AV_PIX_FMT_PAL8; }

// A keyframe, where decoding may start: the frame it shows, the timestamp to
// seek with, and the packet's place in the stream's own order.
struct KeyFrame {
    int frame;
    std::int64_t seek_ts;
    std::int64_t order;
};

}  // namespace

struct VideoDecoder::Impl {
    std::string path;
    std::unique_ptr<AVFormatContext, FormatCloser> fmt;
    int stream = -1;
    std::unique_ptr<AVCodecContext, CodecFreer> codec;
    std::unique_ptr<AVFrame, FrameFreer> frame{av_frame_alloc()};
    std::unique_ptr<AVPacket, PacketFreer> packet{av_packet_alloc()};
    bool packet_pending = false;  // read but refused by a full decoder

    int width = 0;
    int height = 0;
    bool eight_bit = false;
    int frame_count = 0;
    // Frame k shows stored frame stored_for[k] (identity when empty): an AVI
    // numbers frames by chunk, and an empty chunk is a dropped frame that
    // repeats the one before it, so that later frames keep their times.
    std::vector<int> stored_for;

    // Frames are identified by their presentation timestamps (shown[k] is
    // frame k's) when every packet has a distinct one; otherwise they are
    // counted in decode order from the keyframe decoding started at.
    bool by_timestamp = false;
    std::vector<std::int64_t> shown;
    // Packets are recognised after a seek by their byte position, or failing
    // that by their decode timestamp; without either every access decodes
    // from the first frame.
    enum class Order { Position, DecodeTs, None } order = Order::None;
    std::vector<KeyFrame> keys;  // ascending by frame

    // Where decoding stands.
    bool positioned = false;
    int last_out = -1;       // last frame the decoder gave out
    int next_count = 0;      // counting mode: number of the next frame out
    bool sent_eof = false;
    bool skipping = false;   // dropping packets before the keyframe sought
    std::int64_t skip_until = 0;
    int seek_key = 0;        // keyframe whose timestamp the last seek used
    bool restarted = false;  // the last seek fell back to reopening the file
    // After a seek, frames no other frame refers to are not decoded until
    // the packet of the frame sought (known by its timestamp) is reached.
    bool passing = false;
    std::int64_t target_pts = kNoTs;

    // Conversion of frames that are not 8-bit to 24-bit RGB.
    std::unique_ptr<SwsContext, SwsFreer> sws;
    int sws_colorspace = -1;
    int sws_range = -1;
    std::unique_ptr<std::uint8_t, AvFreer> rgb;
    int rgb_stride = 0;

    // Frames lately given out, most recent first, so that a repainted view or
    // a step back over frames already seen decodes nothing.
    struct Recent {
        int stored;
        std::vector<std::uint8_t> plane;
    };
    std::list<Recent> recent;
    std::size_t recent_limit = 2;

    int seeks = 0;
    int decoded = 0;

    // Reading ahead. decoding guards every member above; request guards the
    // frames asked for. A ReadFrame moves the generation on, so that a frame
    // the worker took before it is not decoded after it.
    std::mutex decoding;
    std::mutex request;
    std::condition_variable wake;
    std::condition_variable rested;
    int ahead_next = 0;
    int ahead_end = 0;
    unsigned generation = 0;
    bool working = false;
    bool quit = false;
    std::thread worker;

    void ReadAheadLoop();
    bool Kept(int stored) const;
    void StopWorker();

    OpenStatus Open(const std::function<bool()>& abort_requested);
    bool OpenContainer();
    bool BuildIndex(const std::function<bool()>& abort_requested);
    std::int64_t PacketOrder(const AVPacket* p) const;
    const KeyFrame& KeyFor(int k) const;
    bool SeekTo(int key_index);
    bool SeekWith(int key_index);
    bool Restart();
    bool FeedPacket();
    int Identify(const AVFrame* f);
    bool Extract(const AVFrame* f, std::vector<std::uint8_t>& out);
    const std::vector<std::uint8_t>* Recall(int stored);
    std::vector<std::uint8_t>& NewSlot(int stored);
    bool Read(int k);
    bool DecodeUntil(int k);
    void EndPassing() {
        passing = false;
        codec->skip_frame = AVDISCARD_DEFAULT;
    }
};

bool VideoDecoder::Impl::OpenContainer() {
    // FFmpeg's complaints about a file go into the program's diagnostics,
    // not onto the terminal.
    RouteFfmpegLog();
    fmt.reset();
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) return false;
    fmt.reset(raw);
    // A stream without frames leaves the probe incomplete; the header's
    // stream list still tells whether the file holds video.
    avformat_find_stream_info(raw, nullptr);
    stream = -1;
    for (unsigned i = 0; i < raw->nb_streams; ++i) {
        const AVStream* st = raw->streams[i];
        if (st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(st->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            stream = static_cast<int>(i);
            break;
        }
    }
    return stream >= 0;
}

VideoDecoder::OpenStatus VideoDecoder::Impl::Open(const std::function<bool()>& abort_requested) {
    if (!frame || !packet) return OpenStatus::Unusable;
    if (!OpenContainer()) return OpenStatus::NotAVideo;
    const AVCodecParameters* par = fmt->streams[stream]->codecpar;
    const AVCodec* dec = avcodec_find_decoder(par->codec_id);
    if (!dec) return OpenStatus::Unusable;
    codec.reset(avcodec_alloc_context3(dec));
    if (!codec || avcodec_parameters_to_context(codec.get(), par) < 0) return OpenStatus::Unusable;
    codec->thread_count = 0;  // one per core
    if (avcodec_open2(codec.get(), dec, nullptr) < 0) return OpenStatus::Unusable;

    width = par->width;
    height = par->height;
    if (width <= 0 || height <= 0 || av_image_check_size(width, height, 0, nullptr) < 0)
        return OpenStatus::Unusable;
    int format = par->format != AV_PIX_FMT_NONE ? par->format : codec->pix_fmt;
    if (format == AV_PIX_FMT_NONE) return OpenStatus::Unusable;
    eight_bit = IsEightBit(format);
    recent_limit = std::clamp<std::size_t>(kRecentBytes / (static_cast<std::size_t>(width) * height), 2, kRecentFrames);
    if (!eight_bit && !sws_isSupportedInput(static_cast<AVPixelFormat>(format)))
        return OpenStatus::Unusable;

    if (!BuildIndex(abort_requested)) return OpenStatus::Aborted;
    if (frame_count == 0) return OpenStatus::Unusable;
    return OpenStatus::Ok;
}

std::int64_t VideoDecoder::Impl::PacketOrder(const AVPacket* p) const {
    switch (order) {
        case Order::Position: return p->pos;
        case Order::DecodeTs: return p->dts;
        case Order::None: break;
    }
    return kNoTs;
}

// Reads every packet of the stream once: the count of frame packets is the
// true frame count, whatever the container's header claims.
// False when aborted.
bool VideoDecoder::Impl::BuildIndex(const std::function<bool()>& abort_requested) {
    struct Entry {
        std::int64_t pts, dts, pos;
        bool key;
    };
    std::vector<Entry> entries;
    std::int64_t unpolled = 0;
    while (av_read_frame(fmt.get(), packet.get()) >= 0) {
        unpolled += packet->size;
        if (unpolled >= kAbortPollBytes && abort_requested) {
            unpolled = 0;
            if (abort_requested()) {
                av_packet_unref(packet.get());
                return false;
            }
        }
        // An empty packet stands for no picture (and would flush a decoder).
        if (packet->stream_index == stream && packet->size > 0)
            entries.push_back({packet->pts, packet->dts, packet->pos,
                               (packet->flags & AV_PKT_FLAG_KEY) != 0});
        av_packet_unref(packet.get());
    }
    frame_count = static_cast<int>(entries.size());
    if (entries.empty()) return true;

    auto all = [&](auto pred) { return std::all_of(entries.begin(), entries.end(), pred); };
    auto rising = [&](auto field) {
        for (std::size_t i = 1; i < entries.size(); ++i)
            if (!(field(entries[i - 1]) < field(entries[i]))) return false;
        return true;
    };
    const bool all_pts = all([](const Entry& e) { return e.pts != kNoTs; });
    const bool all_dts = all([](const Entry& e) { return e.dts != kNoTs; });
    const bool dts_rising = all_dts && rising([](const Entry& e) { return e.dts; });
    if (all([](const Entry& e) { return e.pos >= 0; }) && rising([](const Entry& e) { return e.pos; }))
        order = Order::Position;
    else if (dts_rising)
        order = Order::DecodeTs;

    // Decode timestamps alone (AVI) do not say which frame a reordering
    // decoder gives out; such streams are counted in decode order instead.
    if (all_pts) {
        for (const Entry& e : entries) shown.push_back(e.pts);
        std::sort(shown.begin(), shown.end());
        by_timestamp = std::adjacent_find(shown.begin(), shown.end()) == shown.end();
    }
    if (!by_timestamp) shown.clear();

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (!(e.key || i == 0)) continue;
        if (order == Order::None && i > 0) break;
        int frame_no = static_cast<int>(i);
        if (by_timestamp)
            frame_no = static_cast<int>(std::lower_bound(shown.begin(), shown.end(), e.pts) - shown.begin());
        const std::int64_t seek_ts = e.dts != kNoTs ? e.dts : e.pts;
        const std::int64_t place = order == Order::Position ? e.pos : e.dts;
        keys.push_back({frame_no, seek_ts, place});
    }
    std::sort(keys.begin(), keys.end(), [](const KeyFrame& a, const KeyFrame& b) { return a.frame < b.frame; });

    if (std::strcmp(fmt->iformat->name, "avi") == 0 && dts_rising) {
        const std::int64_t first = entries.front().dts;
        const std::int64_t span = entries.back().dts - first + 1;
        // A span far beyond the chunks present is damage, not dropped frames.
        if (span > frame_count && span <= 4 * static_cast<std::int64_t>(frame_count) + 100) {
            stored_for.assign(static_cast<std::size_t>(span), -1);
            for (std::size_t i = 0; i < entries.size(); ++i) {
                int stored = static_cast<int>(i);
                if (by_timestamp)
                    stored = static_cast<int>(std::lower_bound(shown.begin(), shown.end(), entries[i].pts) - shown.begin());
                stored_for[static_cast<std::size_t>(entries[i].dts - first)] = stored;
            }
            for (std::size_t v = 1; v < stored_for.size(); ++v)
                if (stored_for[v] < 0) stored_for[v] = stored_for[v - 1];
            frame_count = static_cast<int>(span);
        }
    }
    return true;
}

const KeyFrame& VideoDecoder::Impl::KeyFor(int k) const {
    auto it = std::upper_bound(keys.begin(), keys.end(), k,
                               [](int frame_no, const KeyFrame& key) { return frame_no < key.frame; });
    return it == keys.begin() ? keys.front() : *std::prev(it);
}

bool VideoDecoder::Impl::Restart() {
    restarted = true;
    skipping = order != Order::None;
    if (!OpenContainer()) {
        positioned = false;
        return false;
    }
    return true;
}

bool VideoDecoder::Impl::SeekWith(int key_index) {
    seek_key = key_index;
    const KeyFrame& key = keys[key_index];
    if (order == Order::None || key.seek_ts == kNoTs) return Restart();
    if (av_seek_frame(fmt.get(), stream, key.seek_ts, AVSEEK_FLAG_BACKWARD) < 0) return Restart();
    return true;
}

bool VideoDecoder::Impl::SeekTo(int key_index) {
    ++seeks;
    avcodec_flush_buffers(codec.get());
    av_packet_unref(packet.get());
    packet_pending = false;
    sent_eof = false;
    restarted = false;
    const KeyFrame& key = keys[key_index];
    skipping = order != Order::None;
    skip_until = key.order;
    next_count = key.frame;
    last_out = key.frame - 1;
    positioned = SeekWith(key_index);
    return positioned;
}

// Hands the decoder the next packet of the stream, skipping those before the
// keyframe sought; false at the end of the file.
bool VideoDecoder::Impl::FeedPacket() {
    for (;;) {
        if (!packet_pending) {
            if (av_read_frame(fmt.get(), packet.get()) < 0) return false;
            if (packet->stream_index != stream || packet->size == 0) {
                av_packet_unref(packet.get());
                continue;
            }
            if (skipping) {
                const std::int64_t place = PacketOrder(packet.get());
                if (place != kNoTs && place > skip_until && !restarted) {
                    // The seek landed past the keyframe: try the one before,
                    // and in the end the start of the file.
                    av_packet_unref(packet.get());
                    if (seek_key > 0 ? !SeekWith(seek_key - 1) : !Restart()) return false;
                    continue;
                }
                if (place != kNoTs && place < skip_until) {
                    av_packet_unref(packet.get());
                    continue;
                }
                skipping = false;
            }
            // Every frame the file stores is shown: an MP4 written without
            // packet durations marks its last frame as lying beyond its edit
            // list, and the decoder would drop it.
            packet->flags &= ~AV_PKT_FLAG_DISCARD;
            if (passing && packet->pts == target_pts) EndPassing();
        }
        const int r = avcodec_send_packet(codec.get(), packet.get());
        packet_pending = r == AVERROR(EAGAIN);
        if (!packet_pending) av_packet_unref(packet.get());
        return true;
    }
}

int VideoDecoder::Impl::Identify(const AVFrame* f) {
    if (!by_timestamp) return next_count++;
    const std::int64_t ts = f->best_effort_timestamp;
    auto it = std::lower_bound(shown.begin(), shown.end(), ts);
    if (ts == kNoTs || it == shown.end() || *it != ts) return -1;
    return static_cast<int>(it - shown.begin());
}

const std::vector<std::uint8_t>* VideoDecoder::Impl::Recall(int stored) {
    for (auto it = recent.begin(); it != recent.end(); ++it)
        if (it->stored == stored) {
            recent.splice(recent.begin(), recent, it);
            return &recent.front().plane;
        }
    return nullptr;
}

std::vector<std::uint8_t>& VideoDecoder::Impl::NewSlot(int stored) {
    if (recent.size() >= recent_limit)
        recent.splice(recent.begin(), recent, std::prev(recent.end()));
    else
        recent.emplace_front();
    recent.front().stored = stored;
    return recent.front().plane;
}

// Copies the frame's 8-bit plane, or the green of its 24-bit RGB form, into
// out, top row first.
bool VideoDecoder::Impl::Extract(const AVFrame* f, std::vector<std::uint8_t>& out) {
    out.resize(static_cast<std::size_t>(width) * height);
    if (IsEightBit(f->format) == eight_bit && eight_bit && f->width == width && f->height == height) {
        for (int y = 0; y < height; ++y)
            std::memcpy(&out[static_cast<std::size_t>(y) * width], f->data[0] + static_cast<std::ptrdiff_t>(y) * f->linesize[0], width);
        return true;
    }
    const AVPixelFormat converted = eight_bit ? AV_PIX_FMT_GRAY8 : AV_PIX_FMT_RGB24;
    const auto in = static_cast<AVPixelFormat>(f->format);
    SwsContext* ctx = sws_getCachedContext(sws.release(), f->width, f->height, in, width, height, converted,
                                           SWS_BILINEAR, nullptr, nullptr, nullptr);
    sws.reset(ctx);
    if (!ctx) return false;
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(in);
    const bool yuv = desc && !(desc->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) && desc->nb_components >= 3;
    if (yuv && (f->colorspace != sws_colorspace || f->color_range != sws_range)) {
        // Follow the matrix and range the stream declares (HD video is BT.709).
        const int full = f->color_range == AVCOL_RANGE_JPEG || std::strncmp(desc->name, "yuvj", 4) == 0;
        sws_setColorspaceDetails(ctx, sws_getCoefficients(f->colorspace), full,
                                 sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
        sws_colorspace = f->colorspace;
        sws_range = f->color_range;
    }
    if (!rgb) {
        std::uint8_t* data[4];
        int lines[4];
        if (av_image_alloc(data, lines, width, height, AV_PIX_FMT_RGB24, 64) < 0) return false;
        rgb.reset(data[0]);
        rgb_stride = lines[0];
    }
    std::uint8_t* dst[4] = {rgb.get(), nullptr, nullptr, nullptr};
    int dst_lines[4] = {rgb_stride, 0, 0, 0};
    if (sws_scale(ctx, f->data, f->linesize, 0, f->height, dst, dst_lines) != height) return false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = rgb.get() + static_cast<std::ptrdiff_t>(y) * rgb_stride;
        std::uint8_t* row = &out[static_cast<std::size_t>(y) * width];
        if (eight_bit) {
            std::memcpy(row, src, width);
        } else {
            for (int x = 0; x < width; ++x) row[x] = src[3 * x + 1];
        }
    }
    return true;
}

// Decodes forward until frame k comes out; false when it never does.
bool VideoDecoder::Impl::Read(int k) {
    const KeyFrame& key = KeyFor(k);
    if (!positioned || last_out >= k || key.frame > last_out + 1) {
        const int key_index = static_cast<int>(&key - keys.data());
        if (!SeekTo(key_index)) return false;
        if (by_timestamp) {
            passing = true;
            target_pts = shown[k];
            codec->skip_frame = AVDISCARD_NONREF;
        }
    }
    const bool found = DecodeUntil(k);
    if (passing) EndPassing();
    return found;
}

bool VideoDecoder::Impl::DecodeUntil(int k) {
    for (;;) {
        const int r = avcodec_receive_frame(codec.get(), frame.get());
        if (r == 0) {
            ++decoded;
            const int p = Identify(frame.get());
            bool found = false;
            bool ok = false;
            if (p >= 0) {
                last_out = p;
                if (p == k) {
                    found = true;
                    ok = Extract(frame.get(), NewSlot(k));
                    if (!ok) recent.pop_front();
                } else if (p > k) {
                    found = true;
                }
            }
            av_frame_unref(frame.get());
            if (found) return ok;
            continue;
        }
        if (r != AVERROR_EOF && !sent_eof) {
            // The decoder wants more input, or failed on a damaged packet.
            if (FeedPacket()) continue;
            if (!positioned) return false;
            avcodec_send_packet(codec.get(), nullptr);
            sent_eof = true;
            continue;
        }
        positioned = false;  // drained: the next request seeks afresh
        return false;
    }
}

bool VideoDecoder::Impl::Kept(int stored) const {
    return std::any_of(recent.begin(), recent.end(), [stored](const Recent& r) { return r.stored == stored; });
}

void VideoDecoder::Impl::ReadAheadLoop() {
    for (;;) {
        int k = 0;
        unsigned asked = 0;
        {
            std::unique_lock<std::mutex> r(request);
            working = false;
            rested.notify_all();
            wake.wait(r, [this] { return quit || ahead_next < ahead_end; });
            if (quit) return;
            k = ahead_next++;
            asked = generation;
            working = true;
        }
        std::lock_guard<std::mutex> d(decoding);
        {
            std::lock_guard<std::mutex> r(request);
            if (asked != generation) continue;  // a frame was read meanwhile
        }
        const int stored = stored_for.empty() ? k : stored_for[static_cast<std::size_t>(k)];
        // A frame that cannot be decoded is reported when it is shown.
        if (stored >= 0 && !Kept(stored)) Read(stored);
    }
}

void VideoDecoder::Impl::StopWorker() {
    if (!worker.joinable()) return;
    {
        std::lock_guard<std::mutex> r(request);
        quit = true;
    }
    wake.notify_all();
    worker.join();
}

VideoDecoder::VideoDecoder(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
VideoDecoder::~VideoDecoder() { impl_->StopWorker(); }

void VideoDecoder::ReadAhead(int k, int n) {
    Impl& d = *impl_;
    n = std::min(n, static_cast<int>(d.recent_limit / 4));
    {
        std::lock_guard<std::mutex> r(d.request);
        ++d.generation;
        d.ahead_next = std::max(k, 0);
        d.ahead_end = std::min(k + std::max(n, 0), d.frame_count);
        if (d.ahead_next >= d.ahead_end) return;
    }
    if (!d.worker.joinable()) d.worker = std::thread([&d] { d.ReadAheadLoop(); });
    d.wake.notify_one();
}

void VideoDecoder::WaitForReadAhead() {
    Impl& d = *impl_;
    std::unique_lock<std::mutex> r(d.request);
    d.rested.wait(r, [&d] { return d.quit || !d.worker.joinable() || (!d.working && d.ahead_next >= d.ahead_end); });
}

std::unique_ptr<VideoDecoder> VideoDecoder::Open(const std::string& path, OpenStatus& status,
                                                 const std::function<bool()>& abort_requested) {
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    status = impl->Open(abort_requested);
    if (status != OpenStatus::Ok) return nullptr;
    return std::unique_ptr<VideoDecoder>(new VideoDecoder(std::move(impl)));
}

int VideoDecoder::Width() const { return impl_->width; }
int VideoDecoder::Height() const { return impl_->height; }
int VideoDecoder::FrameCount() const { return impl_->frame_count; }
bool VideoDecoder::EightBit() const { return impl_->eight_bit; }
int VideoDecoder::Seeks() const {
    std::lock_guard<std::mutex> d(impl_->decoding);
    return impl_->seeks;
}
int VideoDecoder::FramesDecoded() const {
    std::lock_guard<std::mutex> d(impl_->decoding);
    return impl_->decoded;
}

bool VideoDecoder::ReadFrame(int k, std::uint8_t* dst, std::ptrdiff_t dst_stride) {
    Impl& d = *impl_;
    if (k < 0 || k >= d.frame_count) return false;
    {
        std::lock_guard<std::mutex> r(d.request);
        ++d.generation;
        d.ahead_next = d.ahead_end = 0;
    }
    std::lock_guard<std::mutex> lock(d.decoding);
    const int stored = d.stored_for.empty() ? k : d.stored_for[static_cast<std::size_t>(k)];
    if (stored < 0) return false;
    const std::vector<std::uint8_t>* plane = d.Recall(stored);
    if (!plane) {
        if (!d.Read(stored)) return false;
        plane = &d.recent.front().plane;
    }
    for (int y = 0; y < d.height; ++y)
        std::memcpy(dst + y * dst_stride, &(*plane)[static_cast<std::size_t>(y) * d.width], d.width);
    return true;
}
