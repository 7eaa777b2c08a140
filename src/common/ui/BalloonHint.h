#pragma once
// A small balloon window with a title and a text, shown at a point for a short or long time.
#include <QFrame>

class QLabel;
class QTimer;

class TBalloonHint : public QFrame {
    Q_OBJECT
public:
    explicit TBalloonHint(QWidget* parent = nullptr);
    // warning selects the warning look; longDisplay keeps it up longer.
    void ShowAt(const QPoint& globalPos, const QString& title, const QString& text, bool warning,
                bool longDisplay);

protected:
    void mousePressEvent(QMouseEvent*) override;

private:
    QLabel* title_;
    QLabel* text_;
    QTimer* timer_;
};
