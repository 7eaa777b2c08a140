#include "map/CoordTransform.h"

#include "common/CodePage.h"
#include "common/Ini.h"
#include "common/NumberFormat.h"
#include "map/MapTexts.h"

#include <QFile>

#include <cmath>

namespace {

constexpr double kDegPerRadZone = 57.29577951;
constexpr double kRhoProjection = 206264.806247096;
constexpr double kE2Projection = 0.006693421622965943;
constexpr double kEp2Projection = 0.006738525415;
constexpr double kAK = 6378245.0;
constexpr double kFK = 0.003352329869259135;
constexpr double kAW = 6378137.0;
constexpr double kFW = 0.003352810664747481;
constexpr double kPiShift = 3.14159265358979;
constexpr double kRhoShift = 206264.8062;

} // namespace

double Sk63CentralMeridian(int zone) {
    return 3.0 * zone + 20.5;
}

TGeoPoint Sk63PlaneToGeodetic(double easting, double northing, int zone) {
    const double x = 9214.69 + northing - 5;
    const double y = easting - (zone * 1000000.0 + 300000.0 + 57.0);
    const double L0 = (3.0 * zone + 20.5) / kDegPerRadZone;
    const double a = kAK, e2 = kE2Projection, ep2 = kEp2Projection;

    const double beta = x / 6367558.4968;
    const double sb = std::sin(beta);
    const double B0 = beta + std::sin(2 * beta) *
                                 (0.00252588685 - 0.0000149186 * sb * sb + 0.00000011904 * sb * sb * sb * sb);
    const double t = std::tan(B0), t2 = t * t, t4 = t2 * t2;
    const double cB0 = std::cos(B0), sB0 = std::sin(B0);
    const double eta2 = ep2 * cB0 * cB0;
    const double w = 1 - e2 * sB0 * sB0;
    const double N0 = a / std::sqrt(w);
    const double M0 = a * (1 - e2) / std::pow(w, 1.5);
    const double y2 = y * y, y4 = y2 * y2;
    const double N02 = N0 * N0, N04 = N02 * N02;

    const double dB = (t * y2 / (2 * M0 * N0)) * (1 - y2 * (5 + 3 * t2 + eta2 - 9 * t2 * eta2) / (12 * N02) +
                                                  y4 * (61 + 90 * t2 + 45 * t4) / (360 * N04));
    const double dL =
        (y / (N0 * cB0)) * (1 - y2 * (1 + 2 * t2 + eta2) / (6 * N02) +
                            y4 * (5 + 28 * t2 + 24 * t4 + 6 * eta2 + 8 * t2 * eta2) / (120 * N04));
    // The corrections pass through arc seconds, as they always did.
    const double dBsec = dB * kRhoProjection;
    const double dLsec = dL * kRhoProjection;
    const double B = B0 - dBsec / kRhoProjection;
    const double L = L0 + dLsec / kRhoProjection;
    return {B * kDegPerRadZone, L * kDegPerRadZone};
}

TGeoPoint Sk63DatumShift(const TGeoPoint& sk, const TSk63Params& p) {
    const double H = 0;
    const double e2K = 2 * kFK - kFK * kFK;
    const double e2W = 2 * kFW - kFW * kFW;
    const double a = (kAK + kAW) / 2;
    const double e2 = (e2K + e2W) / 2;
    const double da = kAW - kAK;
    const double de2 = e2W - e2K;
    const double B = sk.Latitude * kPiShift / 180;
    const double L = sk.Longitude * kPiShift / 180;
    const double sB = std::sin(B), cB = std::cos(B), sL = std::sin(L), cL = std::cos(L);
    const double s2 = sB * sB;
    const double M = a * (1 - e2) / std::pow(1 - e2 * s2, 1.5);
    const double N = a / std::sqrt(1 - e2 * s2);
    const double rho = kRhoShift;

    const double dB = rho / (M + H) *
                          ((N / a) * e2 * sB * cB * da + (N * N / (a * a) + 1) * N * sB * cB * de2 / 2 -
                           (p.DX * cL + p.DY * sL) * sB + p.DZ * cB) -
                      p.WX * sL * (1 + e2 * std::cos(2 * B)) + p.WY * cL * (1 + e2 * std::cos(2 * B)) -
                      rho * p.MS * e2 * sB * cB;
    const double dL = rho / ((N + H) * cB) * (-p.DX * sL + p.DY * cL) +
                      std::tan(B) * (1 - e2) * (p.WX * cL + p.WY * sL) - p.WZ;
    return {sk.Latitude + dB / 3600, sk.Longitude + dL / 3600};
}

TGeoPoint Sk63ToWgs84(double easting, double northing, const TSk63Params& params) {
    return Sk63DatumShift(Sk63PlaneToGeodetic(easting, northing, params.Zone), params);
}

// ---- profiles

TSk63ProfileTexts DefaultSk63ProfileTexts() {
    TSk63ProfileTexts t;
    t.DX = QStringLiteral("-10");
    t.DY = QStringLiteral("-92");
    t.DZ = QStringLiteral("-76.3");
    t.WX = QStringLiteral("-0.22");
    t.WY = QStringLiteral("-0.4");
    t.WZ = QStringLiteral("-0.9");
    t.MS = QStringLiteral("0");
    t.Interface_Zona = kZoneDefault;
    return t;
}

namespace {

struct KeyRef {
    const char* key;
    QString TSk63ProfileTexts::*member;
};

const KeyRef kKeys[] = {
    {"DX", &TSk63ProfileTexts::DX}, {"DY", &TSk63ProfileTexts::DY},
    {"DZ", &TSk63ProfileTexts::DZ}, {"WX", &TSk63ProfileTexts::WX},
    {"WY", &TSk63ProfileTexts::WY}, {"WZ", &TSk63ProfileTexts::WZ},
    {"MS", &TSk63ProfileTexts::MS}, {"Interface_Zona", &TSk63ProfileTexts::Interface_Zona}};

} // namespace

bool ReadSk63Profile(const QString& file, const QString& section, TSk63ProfileTexts* texts) {
    TIniDocument ini;
    ini.Load(IniResolvePath(file));
    if (!ini.HasKey(section, QStringLiteral("DX"))) return false;
    for (const KeyRef& k : kKeys)
        texts->*(k.member) = ini.ReadString(section, QLatin1String(k.key), QString());
    return true;
}

bool WriteSk63Profile(const QString& file, const QString& section, const TSk63ProfileTexts& texts) {
    TIniDocument ini;
    const QString path = IniResolvePath(file);
    if (!ini.Load(path)) return false;
    for (const KeyRef& k : kKeys)
        ini.WriteString(section, QLatin1String(k.key), texts.*(k.member));
    return ini.Save(path);
}

QStringList Sk63ProfileNames(const QString& file) {
    QStringList names;
    QFile f(IniResolvePath(file));
    if (!f.open(QIODevice::ReadOnly)) return names;
    for (QByteArray line : f.readAll().split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (!line.startsWith('[')) continue;
        QString name = FromCp1251(line.mid(1));
        const int close = name.lastIndexOf(QLatin1Char(']'));
        if (close >= 0) name.truncate(close);
        names << name;
    }
    return names;
}

int Sk63ZoneFromText(const QString& zoneText) {
    if (zoneText.isEmpty()) return -1;
    const int z = zoneText[0].digitValue();
    return z >= 1 && z <= 7 ? z : -1;
}

TSk63ProfileState ReloadProfiles(const QString& file, const TSk63ProfileState& current) {
    TSk63ProfileState st = current;
    if (!ReadSk63Profile(file, kProfileSaved, &st.Texts)) WriteSk63Profile(file, kProfileSaved, st.Texts);
    TSk63ProfileTexts probe;
    if (!ReadSk63Profile(file, kProfileDefault, &probe)) WriteSk63Profile(file, kProfileDefault, st.Texts);
    if (st.Texts.Interface_Zona.isEmpty()) st.Texts.Interface_Zona = QString::number(st.Zone) + kZoneSuffix;
    const int z = Sk63ZoneFromText(st.Texts.Interface_Zona);
    if (z > 0) st.Zone = z;
    st.Profiles = Sk63ProfileNames(file);
    return st;
}

bool Sk63ParamsFromTexts(const TSk63ProfileTexts& texts, int zone, TSk63Params* params, QString* error) {
    TSk63Params p;
    const struct {
        const char* key;
        const QString* text;
        double* value;
    } values[] = {{"DX", &texts.DX, &p.DX}, {"DY", &texts.DY, &p.DY}, {"DZ", &texts.DZ, &p.DZ},
                  {"WX", &texts.WX, &p.WX}, {"WY", &texts.WY, &p.WY}, {"WZ", &texts.WZ, &p.WZ},
                  {"MS", &texts.MS, &p.MS}};
    for (const auto& v : values) {
        bool ok = false;
        *v.value = ParseNumber(v.text->trimmed(), &ok, true);
        if (!ok) {
            if (error) *error = QStringLiteral("\"%1\" не є числом (%2)").arg(*v.text, QLatin1String(v.key));
            return false;
        }
    }
    if (zone < 1 || zone > 7) {
        if (error) *error = QStringLiteral("Невідома зона СК-63: %1").arg(zone);
        return false;
    }
    p.Zone = zone;
    *params = p;
    return true;
}

bool Sk63ToWgs84WithSavedProfile(const QString& file, double easting, double northing, TGeoPoint* result,
                                 QString* error) {
    TSk63ProfileState st;
    st.Texts = DefaultSk63ProfileTexts();
    st = ReloadProfiles(file, st);
    TSk63Params p;
    if (!Sk63ParamsFromTexts(st.Texts, st.Zone, &p, error)) return false;
    *result = Sk63ToWgs84(easting, northing, p);
    return true;
}
