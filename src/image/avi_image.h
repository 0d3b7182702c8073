#pragma once
// Video image sources. The picture is the average of up to eight frames,
// which brings out faint stars for the reference measurements; the frame
// picture holds the single frame last shown, for measuring the meteor frame
// by frame. Both are 8-bit packed DIBs of the stream's size, shown through
// the grey colour table.

#include <memory>
#include <string>

#include "image/meteor_image.h"

class MessageBoxService;
class ProgressService;
class VideoDecoder;

class AVIImage : public MeteorImage {
public:
    ~AVIImage() override;

    // Frame 0 or more decodes that frame into the frame picture and draws it
    // (status -11 and nothing drawn when it cannot be decoded; the next frame
    // shown clears that status again); a negative frame draws the average; a
    // frame at or beyond the count draws nothing.
    void Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                 int frame) override;
    int GetNFr() const override { return nfr; }
    // Waits until the frames after the one shown are decoded, as they are
    // by the time an observer has clicked in the magnifier (measurements).
    void WaitForReadAhead();

    // Stream position of the i-th of the n = min(N, 8) frames averaged,
    // counted from the start frame, for a stream of N frames.
    static int AveragedFrame(int i, int frame_count);

    int nfr = 0;    // frame count N
    int start = 0;  // number of the stream's first frame
    int bit8 = 0;   // 1 when the decoded frames are 8-bit grey or palette

protected:
    // progress shows the opening steps and the averaging and is polled for
    // Escape; messages, when given, reports frames that cannot be decoded
    // while averaging.
    AVIImage(ProgressService& progress, MessageBoxService* messages, const std::string& file_name);

    // Takes the opened stream: reads its size and depth, allocates both
    // pictures and builds the average; returns the status.
    int AVIImageCommon(std::unique_ptr<VideoDecoder> stream);
    // Builds the averaged picture; 0, -15 when Escape was pressed, or -11
    // when not one of the frames could be decoded.
    int AverageFrame();

    ProgressService& progress_;
    MessageBoxService* messages_;
    std::unique_ptr<VideoDecoder> decoder_;  // the open stream and frame reader
    int shown_frame_ = -1;                   // frame now in the frame picture
    // Frames decoded ahead of the one shown: one page of the frame bar and
    // the frame after it.
    static constexpr int kReadAheadFrames = 8;
};

// A video file: the first video stream of any file FFmpeg reads.
class AVIFileImage : public AVIImage {
public:
    AVIFileImage(ProgressService& progress, const std::string& file_name,
                 MessageBoxService* messages = nullptr);
};
