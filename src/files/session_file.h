#pragma once
// The fixed-column session file: shared pieces of its writer
// (session_file_writer.cpp) and reader (session_file_reader.cpp). The
// operations themselves are SessionData::Save, Retrieve and OutFilename.
//
// Two layouts: Turner (astrometry 1) and Redsky (astrometry 0, fish-eye
// images). Positions are written in mm with three decimals; right ascension
// and declination as packed sexagesimal numbers (decgh).

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "session/records.h"

class SessionData;

// A session file that cannot make a session: it ends before its star or
// meteor lines, or its counts do not fit it. Retrieve raises it before it
// changes anything.
class SessionFileError : public std::runtime_error {
public:
    explicit SessionFileError(const std::string& what) : std::runtime_error(what) {}
};

namespace session_file {

// The frame list of line 6: first frame, then for every gap in the frame
// sequence the last frame before and the first after it (at most seven
// gaps), then the last frame. -1 stands for the missing first and last
// frame of a session without points.
using FrameList = std::array<int, 16>;

// The frame list of a video session's meteor points.
FrameList BuildFrameList(const std::vector<Meteor>& meteors);

// Whether a frame list holds frame numbers (a video session's) or is all
// zeros (a photograph's). A video whose first point lies on frame 0 and the
// next on a later frame starts its list with 0, 0 as well; only a list of
// zeros alone is a photograph's, which a video whose points all lie on
// frame 0 cannot be told from.
bool HoldsFrames(const FrameList& f);

// Frame number of every one of n points from a frame list; all zeros (a
// photographic session) numbers the points 0, 1, 2, ...
std::vector<int> RestoreFrames(const FrameList& f, unsigned int n);

// The term mask of line 4 (Turner) for an order of 1 to 3.
const char* TermMask(int order);

// Replay table columns: a record with more measurements than this is saved
// with its mean only.
constexpr int kMaxReplayColumns = 8;

// The shutter texts of the exposure dialog's list; a shutter text containing
// one of them is a list entry, anything else a custom value.
extern const char* const kShutterList[9];

// Lens codes of the Redsky count line, by equivalent focal length.
constexpr int kLensBelow9mm = 7;
constexpr int kLensBelow20mm = 16;

constexpr const char* kTrailer = "\n\nVelkarn 3.2";

// The text Save writes for s and SessionData::dlgdat, without its questions:
// a Redsky session of a lens that is no fish-eye records its focal length,
// as after a Yes to Save's question. The session is left exactly as it is
// (the focal length is found on a copy: a fit may set an undetermined
// plate centre). Independent of the process locale.
std::string SessionFileText(const SessionData& s);

}  // namespace session_file
