#pragma once
// One image under measurement: its reference stars, meteor points, replays,
// and the state of the astrometric reduction.
//
// Plate coordinates are mm relative to the origin (x0, y0). The plate
// constants map them to standard coordinates of a gnomonic projection about
// the plate centre (racen, decen): xi grows westward (decreasing RA), eta
// southward (decreasing DE). The plate centre is "not determined" while
// racen = -1 and decen = 100.
//
// Operations that can meet a singular star set or an impossible date raise
// NumericalError and leave the session exactly as it was before the call.

#include <limits>
#include <vector>

#include "astro/solver.h"
#include "session/dialog_data.h"
#include "session/records.h"

class MessageBoxService;  // for the session file operations

class SessionData {
public:
    unsigned int nstar = 0;    // stars in `stars`
    unsigned int nhide = 0;    // of those, hidden
    unsigned int nmet = 0;     // meteor points in `meteors`
    unsigned int nreplay = 0;  // completed replay passes
    unsigned int mstart = 0;   // first point of the straight run NextMeteor predicts from
    int order = 1;             // polynomial order of the plate constants, 1..3
    float surround = 0.0f;     // percent of meteor points inside the hull of the visible stars
    float sd = 0.0f;           // standard deviation of the last reduction, degrees
    float x0 = 0.0f;           // origin of the plate coordinates, mm
    float y0 = 0.0f;
    float racen = -1.0f;       // plate centre, radians
    float decen = 100.0f;
    std::vector<Star> stars;      // in the order added; size() == nstar
    std::vector<Meteor> meteors;  // in the order measured; size() == nmet

    static DialogData dlgdat;  // the one exposure record, shared by all sessions

    // An empty session. Resets the exposure record except its station.
    SessionData();

    // The number of stars that take part in the reduction.
    unsigned int Visible() const { return nstar - nhide; }

    // --- Stars ---
    void AddStar(const Star& s, int recompute);
    void DropStar(int i);
    void ReplayStar(int i, float x, float y);
    int ExistStar(const char* name) const;
    float fxstr(int i) const;  // mean measured x of star i; -1 when out of range
    float fystr(int i) const;
    void fhide(int i);
    void funhide(int i);

    // --- Meteor points ---
    void AddMetPnt(const Meteor& m);
    void DropMetPnt(int i);
    void ReplayMetPnt(int i, float x, float y);
    float fxmet(int i) const;
    float fymet(int i) const;

    // --- Exposure record ---
    void DeleteTimes();

    // --- Plate reduction ---
    // Number of plate constants per coordinate for an order: 3, 6 or 10.
    static int NumConstants(int order) { return (order * order + 3 * order + 2) / 2; }
    // Least-squares plate constants of the visible stars into pc (rows 1..n,
    // columns 1 (xi) and 2 (eta)); sets the centre and origin while these are
    // not determined.
    void PlateConstants(Matrix& pc, float cen[3], float south[3], float west[3], int order);
    // Sky position (hours, degrees) of plate coordinates X, Y (mm from origin).
    void CalculateRADE(float X, float Y, float& ra, float& de, const Matrix& pc, const float cen[3],
                       const float south[3], const float west[3]) const;
    // Sky position (hours, degrees) of an absolute plate position (mm).
    void EstimateRADE(float x, float y, float& ra, float& de);
    // Residuals (degrees, catalogue minus computed) and standard deviations;
    // k = -1 for the session as it is, else the star whose hidden state is
    // reversed for this computation. sdv[0] is the standard deviation of one
    // coordinate, sdv[1] and sdv[2] the RMS residual in RA and DE. dra and dde
    // must hold nstar entries.
    void CalculateOC(int k, float sdv[3], float* dra, float* dde);
    void CalculateOC();
    // Where star i falls after the sky turned by dt hours (linear constants).
    void ShiftedPosition(int i, float dt, float& x, float& y);
    // Percent of meteor points inside the convex hull of the visible stars,
    // with star k's hidden state reversed (k = -1: as it is).
    float Getsurround(int k);
    int PlusOrder();
    int MinOrder();

    // --- Exposure times ---
    double ftmet() const;  // meteor time, hours
    double ftref() const;  // reference time, hours
    float fdift() const;   // meteor minus reference time, hours, -12 .. +12
    double RefDay() const; // day count of the reference time (differences only)
    void ProperMotion(int k);

    // --- Meteor trajectory ---
    // Great circle through the meteor points given as unit vectors X, Y, Z
    // (nmet entries): its pole and the first and last point projected on it.
    void vlak(const float* X, const float* Y, const float* Z, float pole[3], float begin[3],
              float end[3]) const;
    // Angular velocity (rad/s) along the great circle and its standard error.
    void hoeksnelheid(const float* X, const float* Y, const float* Z, const float pole[3], float& w,
                      float& dw) const;
    // Lower-left corner (pixels, y from the bottom row) of an 80 x 80 window
    // round the predicted next point; unchanged when nothing is predicted.
    // frame is the video frame about to be measured, -1 for a still image.
    void NextMeteor(int& px, int& py, int frame);
    // The analysis row of star i: catalogue text, then mean x and y.
    std::string Analysis(int i) const;

    // --- Session file (src/files/session_file_*.cpp, log_file.cpp) ---
    // Proposed file name: the meteor name, a point and the first three
    // characters of the station in lower case ("m01.dar"). out must hold 13
    // characters; returns out.
    char* OutFilename(char* out) const;
    // Writes the session file at path (through a temporary file renamed into
    // place), then appends the meteor to the log file in programDir. The
    // Redsky fish-eye question goes to mb. Returns 0 when nothing was saved,
    // 1 when the file was written and the meteor logged, 2 when the file was
    // written but the meteor could not be logged (too few stars or points),
    // 3 when the file was written but the log line could not be (errno says
    // why; LogFailureText in files/log_file.h says it to the user).
    int Save(const char* path, const char* programDir, MessageBoxService& mb);
    // Reads the session file at path into this session and dlgdat.
    // imageLoaded: an image source is loaded (the image question may be
    // asked through mb). Returns kRetrieveCannotOpen when the file cannot be
    // opened, kRetrieveDeclined when the user declines the file of another
    // image (both change nothing), else the image kind code (5
    // photographic, 14 video).
    // Raises SessionFileError for a file whose counts or lines cannot make
    // a session; the session and dlgdat are then exactly as before.
    int Retrieve(const char* path, MessageBoxService& mb, bool imageLoaded);
    static constexpr int kRetrieveDeclined = 0;
    static constexpr int kRetrieveCannotOpen = -1;

private:
    void OrderAfterStarShown();
    void OrderAfterStarGone();
    void ToggleHidden(int k);
    int BeginTrial(int k);
    void EndTrial(int k, int order_before);
    void StarDirection(unsigned int i, float r[3]) const;
    void RejectCollinearStars() const;

    // Direction vectors with the position each was made from (NaN: none).
    struct StarDirectionMemo {
        float raobs = std::numeric_limits<float>::quiet_NaN();
        float deobs = std::numeric_limits<float>::quiet_NaN();
        float r[3] = {0.0f, 0.0f, 0.0f};
    };
    mutable std::vector<StarDirectionMemo> directions_;
};

// The current session.
extern SessionData* Session;
