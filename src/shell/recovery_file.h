#pragma once
// The recovery copy of unsaved work: the text the program keeps in its state
// directory while a session has unsaved changes, so that a crash loses
// nothing that was measured.
//
// The copy begins with the session file exactly as Save writes it (a person
// can read it, and Retrieve session reads it like any session file), and goes
// on with what that file leaves out or rounds: hidden stars, every
// measurement of every replay, the frame of every point, the exposure record
// as it stands, and the image the session was measured on. Every value there
// is exact:
//
//   Velkarn recovery 1
//   image =<full path of the image file>
//   source <type> <width> <height> <Photo CD resolution step>
//   session <nstar> <nhide> <nmet> <nreplay> <mstart> <order> <surround> <sd> <x0> <y0> <racen> <decen>
//   exposure <astrometry> <status> =<station> =<image> =<meteor> =<year> =<month> =<day> =<hour>
//            =<minute> =<second> =<refhour> =<refminute> =<refsecond> =<objective> =<shutter> =<customshutter>
//   star =<name> <mag> <ra> <pmra> <raobs> <de> <pmde> <deobs> <hidden> <nrep> <x> <y> <x> <y> ...
//   meteor =<label> <frame> <nrep> <x> <y> <x> <y> ...
//   end
//
// (the exposure line is one line). Numbers are written in the shortest form
// that reads back to the same float (std::to_chars), whatever the locale.
// A text is "=" and its bytes, each one outside "!".."~" and "%" itself as
// %XX, so that no text breaks a line and an empty text is still a word.
#include <cstddef>
#include <stdexcept>
#include <string>

#include "session/session_data.h"

// The image a session was measured on.
struct RecoveryImage {
    std::string path;        // full path of the image file; empty for a clipboard picture
    int type = 0;            // ImageType bits of the source
    int width = 0;           // pixels
    int height = 0;
    int pcd_resolution = 0;  // the Photo CD resolution step it was loaded at; 0 for other kinds
};

// A copy that is damaged, of another version, or too large to be one.
class RecoveryFileError : public std::runtime_error {
public:
    explicit RecoveryFileError(const std::string& what) : std::runtime_error(what) {}
};

// A copy holds a few dozen bytes per measurement; a file larger than this is
// no copy the program wrote and is not read into memory.
constexpr std::size_t kMaxRecoveryBytes = 64u << 20;

// The copy of session s with the exposure record SessionData::dlgdat,
// measured on image.
std::string RecoveryText(const SessionData& s, const RecoveryImage& image);

// Reads a copy into session, exposure and image, which change only when the
// whole copy was read. Raises RecoveryFileError for anything else.
void ReadRecoveryText(const std::string& text, SessionData& session, DialogData& exposure, RecoveryImage& image);
