// Adding, dropping, hiding and replaying measurements, and the order rules.

#include <gtest/gtest.h>

#include "sky_field.h"

namespace {
// Stars at distinct plate positions; the sky positions are irrelevant here.
void AddStars(SessionData& s, int n) {
    for (int k = 0; k < n; ++k) {
        const int i = static_cast<int>(s.nstar);
        CatStar c;
        copy_text(c.name, "S" + std::to_string(i));
        s.AddStar(Star(c, 1.0f + i * 0.7f, 1.0f + (i * 37 % 11) * 0.5f), 0);
    }
}
}  // namespace

TEST(OrderRules, TheSeventhAndEleventhVisibleStarRaiseTheOrderAndHidingLowersIt) {
    SessionData s;
    AddStars(s, 6);
    EXPECT_EQ(s.PlusOrder(), 0);  // order 2 needs more than 6 visible stars
    AddStars(s, 1);
    EXPECT_EQ(s.order, 2);
    EXPECT_EQ(s.PlusOrder(), 0);  // order 3 more than 10
    s.fhide(3);
    EXPECT_EQ(s.order, 1);
    s.funhide(3);
    EXPECT_EQ(s.order, 2);
    // A lowering by hand survives the eighth star...
    EXPECT_EQ(s.MinOrder(), 1);
    AddStars(s, 1);
    EXPECT_EQ(s.order, 1);
    // ...but the eleventh sets order 3 whatever the order was.
    AddStars(s, 3);
    EXPECT_EQ(s.order, 3);
    s.fhide(0);
    EXPECT_EQ(s.order, 2);
    s.funhide(0);
    s.MinOrder();
    s.fhide(0);
    EXPECT_EQ(s.order, 2);  // hiding one of eleven at order 2 keeps order 2

    // Repeats and bad indices are ignored.
    for (int i : {1, 1, 99, -1}) s.fhide(i);
    EXPECT_EQ(s.nhide, 2u);
    for (int i : {2, 1, 1}) s.funhide(i);
    EXPECT_EQ(s.nhide, 1u);
}

TEST(Records, DroppingAHiddenStarKeepsTheSurroundAMeteorPointTheRunStartAndPaddedNamesAreTheCatalogues) {
    SessionData s;
    AddStars(s, 5);
    s.AddMetPnt(Meteor(3.0f, 2.5f, 0));
    s.fhide(4);
    s.surround = 42.0f;  // a stale value: a hidden star's drop must not touch it
    s.DropStar(4);
    EXPECT_EQ(std::tuple(s.nstar, s.nhide, s.surround), std::tuple(4u, 0u, 42.0f));
    s.DropStar(0);
    EXPECT_NE(s.surround, 42.0f);
    EXPECT_STREQ(s.stars[0].name, "S1");  // later stars moved down
    s.surround = 42.0f;
    s.DropStar(17);  // nothing removed, surround recomputed
    EXPECT_EQ(s.nstar, 3u);
    EXPECT_NE(s.surround, 42.0f);
    s.ReplayStar(17, 9.0f, 9.0f);  // a bad index changes nothing
    EXPECT_EQ(std::pair(s.fxstr(17), s.fystr(-1)), std::pair(-1.0f, -1.0f));

    CatStar c;
    copy_text(c.name, " 58 Ori  ");
    s.AddStar(Star(c, 1.0f, 1.0f), 0);
    for (const auto& [name, found] :
         {std::pair{" 58 Ori", 1}, {" 58 Ori   ", 1}, {" 58 ori", 0}, {"58 Ori", 0}, {" 58 Or", 0}})
        EXPECT_EQ(s.ExistStar(name), found) << name;

    // A meteor point dropped keeps the run start on its point.
    SessionData m;
    for (int i = 0; i < 5; ++i) m.AddMetPnt(Meteor(1.0f + i, 1.0f, i));
    m.mstart = 3;
    m.DropMetPnt(1);  // below the run start: mstart follows its point
    EXPECT_EQ(std::pair(m.mstart, m.meteors[2].frame), std::pair(2u, 3));
    m.DropMetPnt(2);  // the run start itself: the next point takes its place
    EXPECT_EQ(std::pair(m.mstart, m.meteors[2].frame), std::pair(2u, 4));
    m.DropMetPnt(10);
    EXPECT_EQ(m.nmet, 3u);
    m.ReplayMetPnt(0, 3.0f, 2.0f);  // the mean of both measurements
    EXPECT_EQ(std::tuple(m.fxmet(0), m.fymet(0), m.fxmet(3)), std::tuple(2.0f, 1.5f, -1.0f));
}

TEST(MeteorPoints, VideoPointsSetTheReferenceTimeOfTheirMiddlePoint) {
    const struct {
        const char* what;
        int type, frames;
        const char *shutter, *time;
        std::vector<int> points;
        const char* reference;
    } cases[] = {
        // Middle point (index 1) on frame 50 of 50: one second after the
        // middle of the file at 25 frames per second.
        {"video", ImageType::Video, 50, "25.000", "20 0 10", {49, 50, 51}, "20| 0| 9"},
        // Middle frame 0, file middle 1: 0.8 s after the meteor time,
        // 23:59:59.8, which never shows as 60 seconds.
        {"seconds carry", ImageType::Video, 2, "1.25", "23 59 59", {0}, " 0| 0| 0"},
        {"no shutter", ImageType::Video, 50, "0.0", "20 0 10", {10}, "19||"},
        {"still", ImageType::Still, 1, "25.000", "20 0 10", {1}, "19||"},
    };
    for (const auto& c : cases) {
        sky::TestImage image(640, 480, c.type, c.frames);
        CurrentImage current(&image);
        SessionData s;  // a new session resets the exposure record
        DialogData& d = SessionData::dlgdat;
        d = DialogData();
        copy_text(d.shutter, c.shutter);
        std::sscanf(c.time, "%2s %2s %2s", d.hour, d.minute, d.second);
        copy_text(d.refhour, "19");
        for (const int f : c.points) {
            s.AddMetPnt(Meteor(1.0f + 0.1f * f, 1, f));
            if (s.nmet == 2) copy_text(d.refhour, "xx");  // each point sets it anew
        }
        EXPECT_EQ(std::string(d.refhour) + "|" + d.refminute + "|" + d.refsecond, c.reference) << c.what;
    }
}

TEST(ExposureRecord, DeleteTimesKeepsStationDateAndShutterANewSessionOnlyTheStation) {
    SessionData s;
    SessionData::dlgdat.astrometry = 0;
    copy_text(SessionData::dlgdat.image, "img01");
    copy_text(SessionData::dlgdat.station, "Darnholm");
    sky::SetDate("1999", "8", "12");
    sky::SetTimes("23", "15", "42", "23", "10", "42");
    copy_text(SessionData::dlgdat.meteor, "m01");
    copy_text(SessionData::dlgdat.shutter, "25.000");
    s.DeleteTimes();
    const DialogData& d = SessionData::dlgdat;
    EXPECT_EQ(std::string(d.hour) + d.minute + d.second + d.refhour + d.refminute + d.refsecond + d.meteor, "");
    EXPECT_EQ(std::string(d.year) + "|" + d.month + "|" + d.day + "|" + d.shutter, "1999|8|12|25.000");

    // A new session starts empty with its centre undetermined.
    SessionData n;
    EXPECT_EQ(std::tuple(n.order, n.racen, n.decen), std::tuple(1, -1.0f, 100.0f));
    EXPECT_EQ(std::string(d.station) + "|" + d.image + "|" + d.year + "|" + d.shutter + "|" + d.customshutter,
              "Darnholm|||0.0|custom");
    EXPECT_EQ(std::pair(d.astrometry, d.status), std::pair(1, -8));
}

TEST(ListTexts, LongAndShortRowsAndSecondsThatShowAsSixtyCarryIntoTheMinute) {
    CatStar c{"58 Ori", 0.5f, 5.5f, 0.0f, 0.0f, -0.25f};
    EXPECT_EQ(c.MakeListBoxText(), "   58 Ori\t0.5\t 5 30 00.0\t -0 15 00");
    EXPECT_EQ(c.MakeListBoxShortText(), "   58 Ori\t0.5\t 5 30.0\t -0 15");
    c.ra = 23.99999f;  // rounds up past 24 h: shown as 0 h
    c.de = 7.4069f;
    EXPECT_EQ(c.MakeListBoxShortText(), "   58 Ori\t0.5\t 0 00.0\t  7 24");
    c.ra = 5.7499995f;  // 5 44 59.998
    c.de = static_cast<float>(-(7 + 59 / 60.0 + 59.7 / 3600));
    EXPECT_EQ(c.MakeListBoxText(), "   58 Ori\t0.5\t 5 45 00.0\t -8 00 00");
    c.ra = static_cast<float>(23 + 59 / 60.0 + 59.97 / 3600);
    c.de = static_cast<float>(29 + 59 / 60.0 + 59.6 / 3600);
    EXPECT_EQ(c.MakeListBoxText(), "   58 Ori\t0.5\t 0 00 00.0\t 30 00 00");
}
