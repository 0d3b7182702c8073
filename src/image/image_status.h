#pragma once
// Status codes an image source carries after construction (0 = loaded) and
// the message the main window shows for each.
#include <string>

constexpr int kStatusOk = 0;
constexpr int kStatusCannotOpen = -1;          // file cannot be opened
constexpr int kStatusClipboardClosed = -4;     // clipboard cannot be opened
constexpr int kStatusNot8Bit = -5;             // bit count other than 8
constexpr int kStatusWrongFormat = -6;         // not a BMP, or a malformed one
constexpr int kStatusNoClipImage = -7;         // no (valid) DIB on the clipboard
constexpr int kStatusNoMemory = -9;            // picture memory cannot be had
constexpr int kStatusNoVideoStream = -10;      // video stream unusable
constexpr int kStatusFrameMissing = -11;       // a video frame cannot be decoded
constexpr int kStatusCompressed = -14;         // run-length or other compression
constexpr int kStatusAborted = -15;            // Escape pressed while loading
constexpr int kStatusNoPcdResolution = -17;    // Photo CD lacks the resolution
// Still pictures of today's cameras (FITS, TIFF, PNG, JPEG, camera RAW).
constexpr int kStatusDamaged = -18;            // data truncated or corrupt, or claims more than the file holds
constexpr int kStatusNoImage = -19;            // a valid file without a picture in it (FITS NAXIS 0)
constexpr int kStatusUnsupportedLayout = -20;  // sample format, depth or colour model not read
constexpr int kStatusUnsupportedCamera = -21;  // a RAW file LibRaw does not know (or cannot tell)

// The message for a status, e.g. "Not an 8-bit image!" for -5. Empty for 0,
// for -15 (an abort needs no message) and for codes the table does not list.
std::string ImageStatusMessage(int status);
