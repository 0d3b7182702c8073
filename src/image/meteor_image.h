#pragma once
#include <string>

// Kind of image source, a set of bits. Bit 8 means several frames (a video),
// bit 4 a blank stand-in for a picture that is not loaded.
namespace ImageType {
constexpr int Still = 1;
constexpr int PhotoCD = 2;
constexpr int Blank = 4;
constexpr int Frames = 8;
constexpr int Video = Frames | Still;      // 9
constexpr int BlankPhoto = Blank | Still;  // 5: a retrieved photographic session
constexpr int BlankVideo = 14;             // a retrieved video session
}  // namespace ImageType

// An image source: one 8-bit picture (and, for video, frames) to measure on.
// A negative status after construction reports a failed load.
class MeteorImage {
public:
    explicit MeteorImage(const std::string& file_name = std::string()) : filename(file_name) {}
    virtual ~MeteorImage() = default;
    MeteorImage(const MeteorImage&) = delete;
    MeteorImage& operator=(const MeteorImage&) = delete;

    // Number of frames; 1 for a still picture.
    virtual int GetNFr() const { return 1; }
    bool IsVideo() const { return (type & ImageType::Frames) != 0; }

    std::string filename;  // full path; empty for clipboard and blank images
    int contrast = 0;      // -15 .. +15
    int brightness = 0;    // -15 .. +15
    int gradation = 1;     // +1 normal, -1 inverted grey ramp
    int type = 0;          // ImageType bits
    int status = 0;        // 0 loaded, else a negative error code
    int width = 0;         // pixels
    int height = 0;
};

// The current image, or none.
extern MeteorImage* Mimg;
