#include "image/meteor_image.h"

#include <algorithm>
#include <cctype>

#include "platform/canvas.h"
#include "platform/desktop_shell.h"

MeteorImage* Mimg = nullptr;

void MeteorImage::Display(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                          int frame) {
    CoreDisplay(dc, x, y, w, h, sx, sy, sw, sh, frame);
}

void MeteorImage::CoreDisplay(Canvas& dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                              int frame) {
    const std::vector<std::uint8_t>& dib = frame < 0 ? picture : frame_picture;
    if (dib.empty()) return;
    dc.DrawDib(dib.data(), dib.size(), CanvasRect{x, y, w, h}, CanvasRect{sx, sy, sw, sh});
}

void MeteorImage::Play(DesktopShell& shell) const {
    if (!filename.empty()) {
        // A viewer started earlier shows the bare file name, upper case, as
        // its title (Windows convention, kept so that a second Play raises it).
        const auto cut = filename.find_last_of("/\\:");
        std::string title = cut == std::string::npos ? filename : filename.substr(cut + 1);
        std::transform(title.begin(), title.end(), title.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (shell.RaiseWindow(title)) return;
        shell.OpenFile(filename);
        return;
    }
    if ((type & ImageType::Blank) == 0) shell.OpenClipboardViewer();
}
