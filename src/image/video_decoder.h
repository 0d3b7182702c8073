#pragma once
// Single frames of the first video stream of a file, through FFmpeg.
//
// Frames are numbered 0 .. FrameCount() - 1 in presentation order. The count
// is the number of frame packets the stream really holds (found by reading the
// whole stream once at opening), not the container's claim. Frame k is exactly
// the k-th frame whatever the keyframe spacing: the reader seeks to the
// keyframe at or before it and decodes forward. It keeps its place, so frame
// k + 1 after frame k costs one decode and no seek.
//
// Every frame comes out as one byte per pixel: the stored index plane when
// the decoded stream is already 8-bit grey or palette ("8-bit frames"),
// otherwise the green component of the frame converted to 24-bit RGB.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class VideoDecoder {
public:
    enum class OpenStatus {
        Ok,
        NotAVideo,  // the file cannot be opened or holds no video stream
        Unusable,   // the stream has no frames or no decoder for its format
        Aborted,    // abort_requested said so while the stream was read
    };

    // Opens the first video stream of path; nullptr with the reason in status
    // when that fails. Reading the whole stream takes a while for a large
    // file: abort_requested, when given, is asked after every kAbortPollBytes.
    static constexpr std::int64_t kAbortPollBytes = 8 << 20;
    static std::unique_ptr<VideoDecoder> Open(const std::string& path, OpenStatus& status,
                                              const std::function<bool()>& abort_requested = {});
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    int Width() const;
    int Height() const;
    int FrameCount() const;
    bool EightBit() const;

    // Writes frame k as Width() bytes per row, top row first, rows dst_stride
    // bytes apart (negative to fill a bottom-up picture from its last row).
    // False when k is out of range or the frame cannot be decoded.
    bool ReadFrame(int k, std::uint8_t* dst, std::ptrdiff_t dst_stride);

    // Decodes frames k .. k + n - 1 in the background while the observer
    // looks at the frame before them, so that a step forward shows a frame
    // already decoded. n is cut to a quarter of the frames the reader keeps.
    // A ReadFrame stops the reading ahead after the frame in hand, so it
    // waits at most one decode; without a call no thread is started.
    void ReadAhead(int k, int n);
    // Waits until the reading ahead has come to rest (tests, measurements).
    void WaitForReadAhead();

    // Counters for tests and measurements: seeks made and frames decoded.
    int Seeks() const;
    int FramesDecoded() const;

    struct Impl;

private:
    explicit VideoDecoder(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};
