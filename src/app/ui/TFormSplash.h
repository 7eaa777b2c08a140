#pragma once
#include <QWidget>

class QLabel;

// The splash window shown while the long-lived windows are created and the references loaded.
class TFormSplash : public QWidget {
    Q_OBJECT
public:
    explicit TFormSplash(QWidget* parent = nullptr);
    // Sets the status line and repaints at once (the event loop is not running yet).
    void SetStatus(const QString& text);
    QString StatusText() const;
    QString ProgramNameText() const;

private:
    QLabel* programName_;
    QLabel* status_;
};
