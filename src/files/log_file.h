#pragma once
// The yearly log files photoYY.log and videoYY.log in the program directory:
// one header line, then one record line per saved meteor, appended in saving
// order and never rewritten.

#include <filesystem>
#include <string>
#include <vector>

#include "session/dialog_data.h"

class SessionData;

// The meteor of a session on the sky, as the log records it.
struct MeteorPath {
    // Every point at its mean measured position, referred to the meteor
    // time: right ascension in hours (not reduced to 0..24), declination in
    // degrees.
    std::vector<double> ra;
    std::vector<double> de;
    float pole[3] = {0, 0, 0};   // unit normal of the fitted great circle
    float begin[3] = {0, 0, 0};  // first and last point projected on it
    float end[3] = {0, 0, 0};
    float w = 0;   // angular velocity along the circle, rad/s
    float dw = 0;  // its standard error, rad/s
};

// Sky positions of the session's meteor points at the meteor time, as the
// log uses them: their mean measured positions through the plate solution,
// with the sidereal time between reference and meteor time added to the
// right ascension. Fills path.ra and path.de; false, with the session
// unchanged, when the visible stars give no plate solution.
bool ComputeMeteorPositions(SessionData& s, MeteorPath& path);

// Fits the great circle and angular velocity of the session's meteor points.
// False, with the session unchanged, when there are fewer than two points,
// the visible stars give no plate solution, or the points give no circle.
bool ComputeMeteorPath(SessionData& s, MeteorPath& out);

// The values of one record line: angles in degrees, velocities in degrees
// per second, sig the standard deviation in degrees, sur the surround in
// percent.
struct LogEntry {
    double w = 0, dw = 0;
    double rab = 0, deb = 0, rae = 0, dee = 0;
    double sig = 0, sur = 0;
};

// Degrees per radian, as the log converts every angle.
constexpr double kLogDegrees = 57.2957795;

LogEntry MakeLogEntry(const MeteorPath& p, float sd, float surround);

std::string LogHeaderLine();
// station: the default station, which the log records rather than the
// session's own.
std::string LogRecordLine(const DialogData& d, const LogEntry& e, const char* station);

// programDir/photoYY.log or programDir/videoYY.log, YY the third and fourth
// characters of the year.
std::filesystem::path LogFilePath(const std::filesystem::path& programDir, const DialogData& d,
                                  bool video);

// The log step of a save: appends the session's meteor to its log file,
// creating the file with its header line first. NotLoggable when the meteor
// cannot be logged (two stars or fewer, hidden ones counted; fewer than two
// points; no plate solution or great circle); WriteFailed, with errno saying
// why, when the log file cannot be opened, written or closed. The log is
// replaced by a copy with the line added (AtomicFile), so that a kill at
// any instant leaves every earlier line and the new one whole or absent.
enum class LogOutcome { Logged, NotLoggable, WriteFailed };
LogOutcome LogMeteor(SessionData& s, const char* programDir);

// What the user is told when the log line could not be written (Save's
// result 3), from the system's error number.
std::string LogFailureText(int error_number);
