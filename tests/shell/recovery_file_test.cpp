#include "shell/recovery_file.h"

#include <gtest/gtest.h>

#include <limits>

#include "files/session_file.h"
#include "image/meteor_image.h"
#include "session/fixed_text.h"
#include "session_fields.h"
#include "support/comma_locale.h"

namespace shell_test {
namespace {

Star MakeStar(const char* name, float ra, float de, std::vector<float> x, std::vector<float> y, int hidden) {
    CatStar c;
    copy_text(c.name, name);
    c.mag = 2.13f;
    c.ra = ra;
    c.raobs = ra + 0.0123456f;
    c.pmra = -0.0031f;
    c.de = de;
    c.deobs = de - 0.00987f;
    c.pmde = 0.125f;
    Star s(c, x[0], y[0]);
    s.x = std::move(x);
    s.y = std::move(y);
    s.nrep = static_cast<int>(s.x.size()) - 1;
    s.hidden = hidden;
    return s;
}

// A session with everything the session file leaves out or rounds: a
// hidden star, ten measurements of a star (beyond the file's eight replay
// columns), positions finer than its three decimals, frames with more gaps
// than its frame list holds, labels and texts with blanks, "%" and bytes
// beyond ASCII, an empty star name and an undetermined plate centre.
struct Rich {
    SessionData s;
    DialogData d;
    RecoveryImage image{"/data/films/night 12%/m\xc3\xa9teor.avi", ImageType::Video, 640, 480, 0};

    Rich() {
        std::vector<float> xs, ys;
        for (int j = 0; j < 10; ++j) {
            xs.push_back(1.2345678f + 1e-4f * j);
            ys.push_back(3.1415927f - 1e-4f * j);
        }
        s.stars = {MakeStar("Alp Lyr", 18.615648f, 38.783688f, {1.0f / 3.0f}, {2.0f / 3.0f}, 0),
                   MakeStar("", 19.0f, 40.0f, xs, ys, 1), MakeStar("%d 50", 0.0001f, -89.99f, {5.5f}, {0.001f}, 0)};
        s.nstar = 3;
        s.nhide = 1;
        const int frames[] = {0, 1, 2, 5, 6, 9, 20, 30, 40, 50, 60, 61};
        const char* labels[] = {"", "Maximum", "  lead", "%", "\xc3\xa9t\xc3\xa9", "a b", "", "", "", "", "", ""};
        for (int i = 0; i < 12; ++i) {
            Meteor m(4.0f + 0.0123457f * i, 1.0f / (i + 3), frames[i]);
            copy_text(m.label, labels[i]);
            if (i == 3) {
                m.x.push_back(4.5f);
                m.y.push_back(0.2f);
                m.nrep = 1;
            }
            s.meteors.push_back(m);
        }
        s.nmet = 12;
        s.nreplay = 9;
        s.mstart = 5;
        s.order = 3;
        s.surround = 87.5f;
        s.sd = std::numeric_limits<float>::infinity();
        s.x0 = 3.84f;
        s.y0 = 2.88f;
        s.racen = -1.0f;
        s.decen = 100.0f;

        copy_text(d.station, "Ond\xc5\x99" "ejov 2");
        copy_text(d.image, "m%01");
        copy_text(d.hour, "23");
        copy_text(d.shutter, "25.000");
        d.astrometry = 1;
        d.status = -16;
    }
    std::string Text() {
        SessionData::dlgdat = d;
        return RecoveryText(s, image);
    }
};

TEST(RecoveryFile, TheCopyReadsBackToTheSameSessionFieldByFieldAndOpensAsASessionFile) {
    Rich rich;
    const std::string text = rich.Text();

    SessionData read;
    SessionData::dlgdat = DialogData{};
    DialogData exposure;
    RecoveryImage image;
    ReadRecoveryText(text, read, exposure, image);
    EXPECT_EQ(SessionFields(read, exposure), SessionFields(rich.s, rich.d));
    EXPECT_EQ(image.path, rich.image.path);
    EXPECT_EQ(image.height, 480);

    // The same under a desktop locale with a decimal comma.
    {
        testing_support::CommaLocale comma;
        EXPECT_EQ(rich.Text(), text);
        SessionData again;
        ReadRecoveryText(text, again, exposure, image);
        EXPECT_EQ(SessionFields(again, exposure), SessionFields(rich.s, rich.d));
    }

    // The copy opens with the session file as Save writes it, which
    // Retrieve session reads.
    SessionData::dlgdat = rich.d;
    const std::string session_file = session_file::SessionFileText(rich.s);
    EXPECT_EQ(text.substr(0, session_file.size()), session_file);
}

TEST(RecoveryFile, ADamagedCopyIsRefusedAndChangesNothing) {
    Rich rich;
    const std::string text = rich.Text();
    const std::size_t section = text.rfind("\nVelkarn recovery 1\n");
    ASSERT_NE(section, std::string::npos);

    SessionData target;
    target.stars = {MakeStar("Bet Lyr", 18.8f, 33.3f, {1.0f}, {1.0f}, 0)};
    target.nstar = 1;
    target.sd = 0.5f;
    DialogData exposure;
    copy_text(exposure.station, "before");
    RecoveryImage image{"/before.bmp", ImageType::Still, 10, 10, 0};
    const auto before = SessionFields(target, exposure);

    auto refused = [&](const std::string& damaged, const std::string& what) {
        EXPECT_THROW(ReadRecoveryText(damaged, target, exposure, image), RecoveryFileError) << what;
        EXPECT_EQ(SessionFields(target, exposure), before) << what;
        EXPECT_EQ(image.path, "/before.bmp") << what;
    };
    // Cut anywhere before its end line is whole.
    const std::size_t end_line = text.rfind("end\n");
    for (std::size_t n = 0; n < end_line + 3; ++n) {
        if (n < section && n % 97 != 0) continue;  // the session file part: a sample suffices
        refused(text.substr(0, n), "cut after " + std::to_string(n) + " bytes");
    }
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const std::size_t at = t.find(from, section);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    refused(edited("Velkarn recovery 1", "Velkarn recovery 2"), "another version");
    refused(edited("session 3 1 12", "session 4 1 12"), "a star count that lies");
    refused(edited(" 1.2345678 ", " nan "), "a position that is no number");
    refused(edited("end\n", "end\nstar =x\n"), "a line after the end");
    refused(std::string(kMaxRecoveryBytes + 1, '\n'), "a file larger than any copy");
}

}  // namespace
}  // namespace shell_test
