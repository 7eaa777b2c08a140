#pragma once
// A long job that runs inside the modal wait window on the user-interface thread (document generation in
// the word processor). The job drives the window through TWaitProgress and reports back through TMessages.
#include <QString>

#include <functional>

// The job's report. The wait window reads WarningText, ErrorTitle and ErrorDetails after the job.
struct TMessages {
    QString WarningText;
    QString InfoText;
    QString ErrorTitle;
    QString ErrorDetails;
    QString Extra;
};

// What a running job may do with the wait window.
class TWaitProgress {
public:
    virtual ~TWaitProgress() = default;
    // Sets the position, then the maximum; the counter shows "position з maximum".
    virtual void SetProgress(int maximum, int position) = 0;
    // Position + 1, or 0 when that exceeds the maximum.
    virtual void StepProgress() = 0;
    virtual void ShowProgress(bool on) = 0;
    // Sets the status line and lets pending window messages run so that it is repainted at once.
    virtual void SetWaitStatus(const QString& text) = 0;
    virtual void EnableStop(bool on) = 0;
    // Set by the "Стоп" button; the job reads it between its steps.
    virtual bool StopRequested() const = 0;
};

using TWaitJob = std::function<void(TWaitProgress& progress, TMessages& messages)>;

// The gauge's arithmetic, shared by the window and by headless callers.
struct TWaitGauge {
    int Position = 0;
    int Maximum = 100;

    void Set(int maximum, int position) {
        Position = position;
        Maximum = maximum;
    }
    void Step() { Position = Position + 1 > Maximum ? 0 : Position + 1; }
    QString CounterText() const {
        return QString::number(Position) + QStringLiteral(" з ") + QString::number(Maximum);
    }
};

// What the wait window shows when a job has finished: nothing, or one box.
struct TWaitResultBox {
    enum Kind { None, Error, Warning, Info } kind = None;
    QString
        caption; // the result caption for an error; the warning and information boxes use the standard ones
    QString text;
};

// An error title wins over a warning text, which wins over the information text given to PrepareWait.
TWaitResultBox WaitResultBox(const TMessages& messages, const QString& resultCaption,
                             const QString& infoText);
