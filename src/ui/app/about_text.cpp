#include "ui/app/about_text.h"

#include <QtGlobal>

extern "C" {
#include <libavutil/avutil.h>
}

std::string AboutText() {
    std::string text = "Velkarn\nRelease " VELKARN_VERSION "\n\n"
                       "Measures and reduces photographic and video\n"
                       "observations of meteors.\n\n";
    text += "Qt ";
    text += qVersion();
    text += "\nFFmpeg ";
    text += av_version_info();
    return text;
}
