#pragma once

#include <QString>
#include <QStringList>

// SK-63 zone coordinates to WGS-84: the inverse Gauss-Krüger projection on the
// Krassovsky ellipsoid, then the datum shift by the abridged Molodensky formulas
// with seven parameters. The constants are the program's own, shortened values
// included, so that the results stay the ones users know.

struct TSk63Params {
    double DX = -10, DY = -92, DZ = -76.3;   // metres
    double WX = -0.22, WY = -0.4, WZ = -0.9; // arc seconds
    double MS = 0;                           // scale difference, used as it is
    int Zone = 5;                            // 1 to 7
};

struct TGeoPoint {
    double Latitude = 0;  // degrees
    double Longitude = 0; // degrees
};

// Plane to geodetic SK-63: B and L in degrees (before the datum shift).
TGeoPoint Sk63PlaneToGeodetic(double easting, double northing, int zone);
// The datum shift of B, L (degrees, SK-63) to WGS-84.
TGeoPoint Sk63DatumShift(const TGeoPoint& sk63, const TSk63Params& params);
// Easting with the zone prefix and northing, in metres, of zone params.Zone.
TGeoPoint Sk63ToWgs84(double easting, double northing, const TSk63Params& params);
// Central meridian of a zone in degrees as the conversion uses it.
double Sk63CentralMeridian(int zone);

// ---- parameter profiles (googleprofile.dat, windows-1251 ini)

// The eight values of a profile as texts, as typed.
struct TSk63ProfileTexts {
    QString DX, DY, DZ, WX, WY, WZ, MS;
    QString Interface_Zona;
    bool operator==(const TSk63ProfileTexts&) const = default;
};

TSk63ProfileTexts DefaultSk63ProfileTexts();
// False (texts unchanged) when the section has no key "DX".
bool ReadSk63Profile(const QString& file, const QString& section, TSk63ProfileTexts* texts);
bool WriteSk63Profile(const QString& file, const QString& section, const TSk63ProfileTexts& texts);
// Every line of the file that begins with "[", without the brackets, in file order.
QStringList Sk63ProfileNames(const QString& file);
// The zone number from the first character of the zone text; -1 when it is no zone 1-7.
int Sk63ZoneFromText(const QString& zoneText);

// The dialog's state after reading the profile file.
struct TSk63ProfileState {
    TSk63ProfileTexts Texts;
    int Zone = 5;
    QStringList Profiles; // the profile list, "сохраненный профиль" selected
};
// Loads "сохраненный профиль" (or writes the current texts into it when it has no
// "DX"), writes "по умолчанию" when it has no "DX", fills an empty zone text from the
// zone number and lists the profiles. A missing file is created this way.
TSk63ProfileState ReloadProfiles(const QString& file, const TSk63ProfileState& current);
// The numbers of the texts; false with the parser's reason when one is not a number.
bool Sk63ParamsFromTexts(const TSk63ProfileTexts& texts, int zone, TSk63Params* params, QString* error);
// Converts with the profile in force ("сохраненный профиль", reloaded first).
bool Sk63ToWgs84WithSavedProfile(const QString& file, double easting, double northing, TGeoPoint* result,
                                 QString* error);
