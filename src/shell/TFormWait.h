#pragma once
// The modal wait window: a long job (the word-processor job) runs inside its modal loop on the
// user-interface thread, drives the gauge, counter and status line, and polls the stop flag. Created once
// at start-up; it closes itself after each run.
#include "common/WaitJob.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TFormWait : public QDialog, public TWaitProgress {
    Q_OBJECT
public:
    explicit TFormWait(QWidget* parent = nullptr);

    // Clears every text of the previous run, keeps the two arguments, shows the gauge at 0 of 100 with its
    // counter, stops both timers, empties the status line, clears the stop flag and disables "Стоп".
    void PrepareWait(bool showMessages, const QString& infoText);
    // The job run 10 ms after the window is shown.
    void SetJob(const TWaitJob& job) { job_ = job; }
    // SetJob and a modal showing; returns the dialog's result (Rejected: the window closes with Cancel).
    int RunJob(const TWaitJob& job);

    void SetProgress(int maximum, int position) override;
    void StepProgress() override;
    void ShowProgress(bool on) override;
    void SetWaitStatus(const QString& text) override;
    void EnableStop(bool on) override;
    bool StopRequested() const override { return stopRequested_; }

    // What the last run left behind (also when no box was shown).
    const TMessages& Result() const { return result_; }
    QString ResultCaption() const { return resultCaption_; }
    QString CounterText() const;
    QString StatusText() const;
    int Position() const { return gauge_.Position; }
    int Maximum() const { return gauge_.Maximum; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

public slots:
    void reject() override;

private:
    void RunPreparedJob();
    void ShowResult();
    void UpdateGauge();

    QLabel* head_;
    QLabel* status_;
    QProgressBar* bar_;
    QLabel* counter_;
    QPushButton* stop_;
    QTimer* jobTimer_;
    QTimer* resultTimer_;

    TWaitJob job_;
    TWaitGauge gauge_;
    TMessages result_;
    QString resultCaption_;
    QString infoText_;
    bool showMessages_ = true;
    bool stopRequested_ = false;
    bool closing_ = false;
};
