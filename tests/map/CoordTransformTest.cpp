#include "map/CoordTransform.h"
#include "common/CodePage.h"
#include "common/Ini.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Transverse Mercator on the Krassovsky ellipsoid with the zone's false easting and
// northing, then PROJ's 7-parameter Helmert shift (position-vector rotations are the
// negatives of ours, the scale is in ppm), computed by PROJ's cct.
bool ProjReference(const std::vector<TGeoPoint>& plane, const TSk63Params& p, std::vector<TGeoPoint>* out,
                   QString* error) {
    const QString cct = QStandardPaths::findExecutable("cct");
    if (cct.isEmpty()) {
        *error = "cct (proj-bin) is not installed";
        return false;
    }
    auto num = [](double v) { return QString::number(v, 'g', 17); };
    const QString pipeline =
        QString(
            "+proj=pipeline +step +inv +proj=tmerc +ellps=krass +lat_0=0 +lon_0=%1 +k=1 +x_0=%2 +y_0=%3 "
            "+step +proj=cart +ellps=krass "
            "+step +proj=helmert +x=%4 +y=%5 +z=%6 +rx=%7 +ry=%8 +rz=%9 +s=%10 +convention=position_vector "
            "+step +inv +proj=cart +ellps=WGS84")
            .arg(num(3.0 * p.Zone + 20.5), num(p.Zone * 1000000.0 + 300057.0), num(-9209.69), num(p.DX),
                 num(p.DY), num(p.DZ), num(-p.WX), num(-p.WY), num(-p.WZ))
            .arg(num(p.MS * 1e6));
    QProcess proc;
    proc.start(cct, QStringList{"-d", "12"} + pipeline.split(' '));
    // Plane points go in as (easting, northing) in the Longitude, Latitude slots.
    for (const TGeoPoint& g : plane)
        proc.write(QString("%1 %2 0 0\n").arg(num(g.Longitude), num(g.Latitude)).toLatin1());
    proc.closeWriteChannel();
    if (!proc.waitForFinished(30000) || proc.exitCode() != 0) {
        *error = QString::fromLocal8Bit(proc.readAllStandardError());
        return false;
    }
    const QStringList lines =
        QString::fromLatin1(proc.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (lines.size() != static_cast<int>(plane.size())) {
        *error = "unexpected output";
        return false;
    }
    out->clear();
    for (const QString& line : lines) {
        const QStringList f = line.simplified().split(' ');
        out->push_back({f.value(1).toDouble(), f.value(0).toDouble()});
    }
    return true;
}

// Ground distance in metres between two nearby geographic points.
double Metres(const TGeoPoint& a, const TGeoPoint& b) {
    const double r = 6378137.0, k = M_PI / 180;
    return std::hypot((a.Latitude - b.Latitude) * k * r,
                      (a.Longitude - b.Longitude) * k * r * std::cos(a.Latitude * k));
}

TEST(Sk63ToWgs84, AgreesWithProjInEveryZone) {
    TSk63Params zero;
    zero.DX = zero.DY = zero.DZ = zero.WX = zero.WY = zero.WZ = zero.MS = 0;
    TSk63Params scaled; // a scale difference too, to check its use without a ppm factor
    scaled.MS = 2e-6;
    const struct {
        const char* name;
        TSk63Params params;
    } profiles[] = {{"default", TSk63Params{}}, {"all zero", zero}, {"scale", scaled}};
    const struct {
        double dy, northing;
    } offsets[] = {{0, 5500000}, {100000, 5300000}, {-150000, 5000000}, {200000, 5800000}, {-60000, 5650000}};
    for (const auto& profile : profiles) {
        for (int zone = 1; zone <= 7; ++zone) {
            TSk63Params p = profile.params;
            p.Zone = zone;
            std::vector<TGeoPoint> plane, ref;
            for (const auto& o : offsets)
                plane.push_back({o.northing, zone * 1000000.0 + 300000.0 + o.dy});
            QString error;
            ASSERT_TRUE(ProjReference(plane, p, &ref, &error)) << error.toStdString();
            for (size_t i = 0; i < plane.size(); ++i) {
                const TGeoPoint ours = Sk63ToWgs84(plane[i].Longitude, plane[i].Latitude, p);
                EXPECT_LT(Metres(ours, ref[i]), 0.01) << profile.name << " zone " << zone << " E "
                                                      << plane[i].Longitude << " N " << plane[i].Latitude;
            }
        }
    }
}

TEST(Sk63ToWgs84, CentralMeridianZonesAndTheShift) {
    // y = 0: on the central meridian, L = L0 and B = B0 before the shift.
    for (int zone = 1; zone <= 7; ++zone) {
        const TGeoPoint g = Sk63PlaneToGeodetic(zone * 1000000.0 + 300057.0, 5500000.0, zone);
        EXPECT_NEAR(g.Longitude, 3.0 * zone + 20.5, 1e-12) << zone;
        const double x = 9214.69 + 5500000.0 - 5;
        const double beta = x / 6367558.4968;
        const double b0 =
            beta + std::sin(2 * beta) * (0.00252588685 - 0.0000149186 * std::pow(std::sin(beta), 2) +
                                         0.00000011904 * std::pow(std::sin(beta), 4));
        EXPECT_NEAR(g.Latitude, b0 * 57.29577951, 1e-12);
    }
    EXPECT_DOUBLE_EQ(Sk63CentralMeridian(1), 23.5);
    EXPECT_DOUBLE_EQ(Sk63CentralMeridian(5), 35.5);
    EXPECT_DOUBLE_EQ(Sk63CentralMeridian(7), 41.5);
    const TGeoPoint z7 = Sk63PlaneToGeodetic(7300057.0, 5000000.0, 7);
    EXPECT_NEAR(z7.Longitude, 41.5, 1e-12) << "zone 7 subtracts 7 300 057";

    // All parameters 0: the datum shift still moves the point (the ellipsoid terms).
    TSk63Params zero;
    zero.DX = zero.DY = zero.DZ = zero.WX = zero.WY = zero.WZ = zero.MS = 0;
    const TGeoPoint sk{50.0, 30.0};
    const TGeoPoint w = Sk63DatumShift(sk, zero);
    EXPECT_NE(w.Latitude, sk.Latitude);
    EXPECT_EQ(w.Longitude, sk.Longitude) << "the ellipsoid terms do not enter the longitude";
    // WZ only turns the longitude.
    TSk63Params wz = zero;
    wz.WZ = 3.6;
    const TGeoPoint t = Sk63DatumShift(sk, wz);
    EXPECT_EQ(t.Latitude, w.Latitude);
    EXPECT_NEAR(t.Longitude, sk.Longitude - 0.001, 1e-15);
}

TEST(Sk63Profiles, FirstRunSavedProfileAndConversionErrors) {
    TTestProgramDir dir;
    const QString file = "googleprofile.dat";
    TSk63ProfileState st;
    st.Texts = DefaultSk63ProfileTexts();
    // A first run writes identical values into both fixed sections.
    TSk63ProfileState loaded = ReloadProfiles(file, st);
    TSk63ProfileTexts saved, defaults;
    ASSERT_TRUE(ReadSk63Profile(file, "сохраненный профиль", &saved));
    ASSERT_TRUE(ReadSk63Profile(file, "по умолчанию", &defaults));
    EXPECT_EQ(saved, DefaultSk63ProfileTexts());
    EXPECT_EQ(defaults, saved);
    EXPECT_EQ(saved.Interface_Zona, "5-я зона");
    EXPECT_EQ(loaded.Profiles, (QStringList{"сохраненный профиль", "по умолчанию"}));
    EXPECT_EQ(loaded.Zone, 5);
    EXPECT_TRUE(ReadBytes(dir.File(file)).contains(ToCp1251("[сохраненный профиль]"))) << "windows-1251";

    // A saved profile is loaded; "по умолчанию" is never rewritten; an empty zone text
    // is filled from the zone number.
    TSk63ProfileTexts mine = saved;
    mine.DX = "25.5";
    mine.Interface_Zona = "";
    ASSERT_TRUE(WriteSk63Profile(file, "сохраненный профиль", mine));
    ASSERT_TRUE(WriteSk63Profile(file, "Мій профіль", mine));
    TSk63ProfileState current;
    current.Zone = 3;
    loaded = ReloadProfiles(file, current);
    EXPECT_EQ(loaded.Texts.DX, "25.5");
    EXPECT_EQ(loaded.Texts.Interface_Zona, "3-я зона");
    EXPECT_EQ(loaded.Zone, 3);
    EXPECT_EQ(loaded.Profiles, (QStringList{"сохраненный профиль", "по умолчанию", "Мій профіль"}));
    ASSERT_TRUE(ReadSk63Profile(file, "по умолчанию", &defaults));
    EXPECT_EQ(defaults.DX, "-10");

    // The zone is the first character of its text.
    mine.Interface_Zona = "7-я зона";
    ASSERT_TRUE(WriteSk63Profile(file, "сохраненный профиль", mine));
    TGeoPoint g;
    QString error;
    ASSERT_TRUE(Sk63ToWgs84WithSavedProfile(file, 7300057.0, 5000000.0, &g, &error)) << error.toStdString();
    TSk63Params p;
    ASSERT_TRUE(Sk63ParamsFromTexts(mine, 7, &p, &error));
    EXPECT_EQ(p.DX, 25.5);
    const TGeoPoint expected = Sk63ToWgs84(7300057.0, 5000000.0, p);
    EXPECT_EQ(g.Latitude, expected.Latitude);
    EXPECT_EQ(g.Longitude, expected.Longitude);

    // A value that is not a number makes the conversion fail with the parser's reason.
    mine.WY = "0,4";
    ASSERT_TRUE(WriteSk63Profile(file, "сохраненный профиль", mine));
    EXPECT_FALSE(Sk63ToWgs84WithSavedProfile(file, 7300057.0, 5000000.0, &g, &error));
    EXPECT_TRUE(error.contains("0,4"));
    EXPECT_EQ(Sk63ZoneFromText("8-я зона"), -1);
    EXPECT_EQ(Sk63ZoneFromText(""), -1);
    EXPECT_EQ(Sk63ZoneFromText("1-я зона"), 1);
}

} // namespace
