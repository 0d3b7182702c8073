#pragma once
// Still pictures of today's cameras and programs: FITS, TIFF, PNG, JPEG and
// camera RAW. Each is a still image (type 1) whose picture is the usual
// 8-bit packed DIB, so every view, dialog, the reduction and the session
// file treat it like a BMP.
//
// Data of 8 bits per sample become the picture's pixels directly. Deeper
// data (16-bit TIFF and PNG, every FITS, camera RAW) keep their samples, and
// the picture is their display stretch (stretch.h), chosen at load and
// stepped afterwards in the image dialog. Colour becomes grey as everywhere
// in the program: the green component.
//
// Every failure is a status of image_status.h: a claimed size is checked
// against the file's real size and the picture limit (packed_dib.h) before
// any memory is taken for it.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "image/meteor_image.h"
#include "image/stretch.h"

class ProgressService;

class StillFileImage : public MeteorImage {
public:
    bool IsDeep() const { return !samples.empty(); }

    // Take a black or white step in -15..+15 (SteppedStretch), re-make the
    // picture and return true; a step outside the range, one that would put
    // the white point at or below the black one, or a picture without deep
    // samples returns false and changes nothing.
    bool SetBlackStep(int step);
    bool SetWhiteStep(int step);

    std::string format;  // "FITS", "TIFF", "PNG", "JPEG", "camera RAW"
    int bits = 8;        // bits per sample of the file's data (32 also for float)
    DeepSamples samples;                // empty for 8-bit data
    StretchPoints automatic_stretch{};  // chosen at load
    StretchPoints stretch{};            // now shown
    int black_step = 0;
    int white_step = 0;

protected:
    StillFileImage(const std::string& file_name, std::string format_name);
    // The stretch points changed: a source of frames re-makes its frame
    // picture when it is next shown.
    virtual void StretchChanged() {}
    // Ends every reader's constructor: a failed load keeps no picture and no
    // samples; a deep picture gets its automatic stretch.
    void Conclude(int load_status);

private:
    bool Restretch(int new_black_step, int new_white_step);
};

// The product of the factors of a claimed size, or the largest value when
// it overflows: a claim that large is refused like any other too large.
std::uint64_t ClaimedBytes(std::initializer_list<std::uint64_t> factors);

// The reader's side of a still image: the size checks every format shares,
// the rows it fills and the progress display with its Escape poll.
class StillTarget {
public:
    // Bytes a compressed file may expand to: a little more than deflate's
    // best ratio (1032 : 1). A claim beyond it is a damaged file.
    static constexpr std::uint64_t kMostExpansion = 1100;

    // Fails with kStatusCannotOpen when the path is no readable regular file.
    StillTarget(StillFileImage& image, ProgressService& progress);
    ~StillTarget();
    StillTarget(const StillTarget&) = delete;
    StillTarget& operator=(const StillTarget&) = delete;

    int open_status() const { return open_status_; }
    std::uint64_t file_size() const { return file_size_; }

    // Checks a picture of width x height whose data take claimed_bytes
    // (compressed: once decoded) and allocates it: the picture, and for deep
    // data the samples. Status 0, kStatusDamaged when the claim exceeds what
    // the file can hold, kStatusNoMemory beyond the picture limit or when
    // memory cannot be had.
    int Begin(std::int64_t width, std::int64_t height, bool deep, bool integer, std::uint64_t claimed_bytes,
              bool compressed, int bits);

    // Rows counted from the top, as files store them (FITS counts from the
    // bottom and asks for height - 1 - row).
    std::uint8_t* PictureRow(int top_row);
    float* SampleRow(int top_row);

    // Shows the share done of the reading; true when Escape was pressed.
    bool Advance(std::uint64_t done, std::uint64_t total);

private:
    StillFileImage& image_;
    ProgressService& progress_;
    int open_status_ = 0;
    std::uint64_t file_size_ = 0;
    int last_percent_ = -1;
};
