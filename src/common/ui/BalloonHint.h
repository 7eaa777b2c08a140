#pragma once
// A small balloon window with a title and a text, pointing with its tail at a point of the screen, shown
// for a short or long time. A click hides it.
#include <QWidget>

class QLabel;
class QTimer;

class TBalloonHint : public QWidget {
    Q_OBJECT
public:
    explicit TBalloonHint(QWidget* parent = nullptr);
    // warning selects the warning look; longDisplay keeps it up longer. The tail's tip is at globalPos.
    void ShowAt(const QPoint& globalPos, const QString& title, const QString& text, bool warning,
                bool longDisplay);
    bool IsWarning() const { return warning_; }
    QString Title() const;
    QString Text() const;

protected:
    void mousePressEvent(QMouseEvent*) override;
    void paintEvent(QPaintEvent*) override;

private:
    QLabel* icon_;
    QLabel* title_;
    QLabel* text_;
    QTimer* timer_;
    bool warning_ = false;
    bool tailUp_ = true;
    int tailX_ = 16;
};
