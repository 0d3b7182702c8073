#include "measure/meteor_readout.h"

#include <cmath>
#include <cstdio>

#include "session/session_data.h"
#include "session/session_snapshot.h"

MeteorReadout FormatMeteorReadout(float x, float y, float ra, float de, bool at_meteor_time) {
    // Half a minute added before the floor, so that 59.5 minutes and more
    // show as the next hour (or degree) with 00.
    const double h = std::floor(ra + 0.008333);
    double minutes = (ra - h) * 60;
    if (minutes < 0) minutes = 0;
    const double sign = de < 0 ? -1.0 : 1.0;
    const float ade = std::fabs(de);
    const double d = std::floor(ade + 0.008333);
    double arcmin = (ade - d) * 60;
    if (arcmin < 0) arcmin = 0;

    char buf[160];
    std::snprintf(buf, sizeof buf,
                  at_meteor_time ? "%6.3f\r\n%6.3f\r\n\r\n%3.0f %02.0f\r\n%3.0f %02.0f"
                                 : "%6.3f\r\n%6.3f\r\n\r\n%3.0f %02.0f)\r\n%3.0f %02.0f ",
                  static_cast<double>(x), static_cast<double>(y), h, minutes, sign * d, arcmin);
    return {buf, at_meteor_time ? "x =\r\ny =\r\n\r\nRA =\r\nDE =" : "x =\r\ny =\r\n\r\n(RA =\r\nDE ="};
}

MeteorReadout MeteorReadoutFor(SessionData& session, float x, float y) {
    float ra = 0.0f, de = 0.0f;
    // A solution of exactly 3 stars may fix the plate centre on the way.
    const SessionSnapshot before(session);
    try {
        session.EstimateRADE(x, y, ra, de);
    } catch (...) {
        before.Restore(session);
        throw;
    }
    before.Restore(session);
    const bool entered = SessionData::dlgdat.status == 0;
    if (entered) {
        // From the reference time to the meteor time, in sidereal hours.
        ra += session.fdift() * 1.00263791;
        if (ra >= 24.0f) ra -= 24.0f;
        else if (ra < 0.0f) ra += 24.0f;
    }
    return FormatMeteorReadout(x, y, ra, de, entered);
}
