#pragma once
// The image sources. Every source holds its picture as a packed 8-bit DIB
// (see packed_dib.h): rows bottom first, so a DIB row index is counted from
// the bottom edge, which is also the direction in which plate y grows.
#include <cstdint>
#include <string>
#include <vector>

#include "image/image_status.h"

class Canvas;
class DesktopShell;

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

// Steps of the display colour table.
constexpr int kMinStep = -15;
constexpr int kMaxStep = 15;

// An image source: one 8-bit picture (and, for video, frames) to measure on.
// A negative status after construction reports a failed load; constructors
// never throw for bad input and always leave the object deletable.
class MeteorImage {
public:
    explicit MeteorImage(const std::string& file_name = std::string()) : filename(file_name) {}
    virtual ~MeteorImage() = default;
    MeteorImage(const MeteorImage&) = delete;
    MeteorImage& operator=(const MeteorImage&) = delete;

    // Recomputes the colour table of the picture (and, for type 9, of the
    // frame picture) from contrast, brightness and gradation.
    virtual void AdjustDIBColors();

    // Draws the source rectangle (sx, sy, sw, sh) of the picture stretched
    // onto the destination rectangle (x, y, w, h) of the canvas. Source
    // coordinates are DIB coordinates: sy is the bottom row of the source
    // rectangle, counted from the bottom of the picture. A negative frame
    // selects the picture, frame 0 or more the frame picture (video).
    virtual void Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                         int frame);

    // Number of frames; 1 for a still picture.
    virtual int GetNFr() const { return 1; }

    // The drawing itself, with the arguments of Display; video sources call
    // it after filling the frame picture. Draws nothing when the selected
    // picture is not loaded.
    void CoreDisplay(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int frame);

    // Take a step in -15..+15, recompute the colour table and return true;
    // any other step returns false and changes nothing.
    bool SetBrightness(int step);
    bool SetContrast(int step);
    // Flips the grey ramp between normal and inverted.
    void InvertGradation();

    // Shows the picture in the program the desktop associates with it: an
    // already open viewer titled with the upper-case file name is raised;
    // a clipboard picture opens the clipboard viewer; otherwise the file is
    // opened.
    void Play(DesktopShell& shell) const;

    bool IsVideo() const { return (type & ImageType::Frames) != 0; }
    bool HasPicture() const { return !picture.empty(); }

    // Grey level of the colour table at the given step values, entry i;
    // what AdjustDIBColors writes.
    static std::uint8_t RampLevel(int i, int contrast, int brightness, int gradation);

    std::string filename;  // full path; empty for clipboard and blank images
    int contrast = 0;      // -15 .. +15
    int brightness = 0;    // -15 .. +15
    int gradation = 1;     // +1 normal, -1 inverted grey ramp
    int type = 0;          // ImageType bits
    int status = 0;        // 0 loaded, else a negative error code (image_status.h)
    int width = 0;         // pixels
    int height = 0;

    // The packed DIB of the picture; empty when none is loaded.
    std::vector<std::uint8_t> picture;
    // A second packed DIB, the single frame last shown (video only).
    std::vector<std::uint8_t> frame_picture;

protected:
    // Writes the current ramp into the colour table of a packed DIB.
    void WriteColourTable(std::vector<std::uint8_t>& dib) const;
};

// The current image, or none.
extern MeteorImage* Mimg;

// Makes an image the current one while the guard lives, and puts the
// previous one back after.
class CurrentImage {
public:
    explicit CurrentImage(MeteorImage* image) : saved_(Mimg) { Mimg = image; }
    ~CurrentImage() { Mimg = saved_; }
    CurrentImage(const CurrentImage&) = delete;
    CurrentImage& operator=(const CurrentImage&) = delete;

private:
    MeteorImage* saved_;
};
