#pragma once
#include <QObject>

// The data-access module: owns both database connections, the SQL helpers and the reference cache.
class TFormMain : public QObject {
    Q_OBJECT
public:
    explicit TFormMain(QObject* parent = nullptr);
    // Opens both databases; false ends the program (the reason is already shown).
    bool OpenDatabases();
};
