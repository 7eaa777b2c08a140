#pragma once
// A plain-text window that shows a file read-only (the working copy, from the navigator). A new viewer is
// created for every request and destroyed when closed; the last closed viewer's place and size are kept for
// the next one of the run.
#include <QMainWindow>

class QPlainTextEdit;
class QDialog;
class QLineEdit;
class QCheckBox;

class TFormFileEdit : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormFileEdit(QWidget* parent = nullptr);

    // Loads the file; false when it cannot be read.
    bool LoadFile(const QString& path, QString* error = nullptr);
    QString FilePath() const { return path_; }
    QPlainTextEdit* Editor() const { return text_; }

    // Finding in the text: from the cursor on (or from the start), optionally case-sensitive.
    bool FindText(const QString& what, bool fromStart, bool caseSensitive);
    // Replaces the current match (when it is one) and finds the next; with all, every match.
    int ReplaceText(const QString& what, const QString& with, bool all, bool caseSensitive);

    // The place of the last viewer closed in this run (each 0 until one was closed).
    struct TPlace {
        int Top = 0, Left = 0, Width = 0, Height = 0;
    };
    static TPlace& LastPlace();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void BuildCommands();
    void ShowFindDialog(bool replace);

    QPlainTextEdit* text_;
    QString path_;
    QString lastFind_;
    bool lastCase_ = false;
    QDialog* findDialog_ = nullptr;
};

// Text of a file for the viewer: an ".xml" file is shown as UTF-8 when its bytes are valid UTF-8 (a byte
// order mark is dropped) and in the program's code page otherwise; other files in the program's code page.
QString ViewerTextFromBytes(const QByteArray& bytes, bool isXml);

// Creates a viewer on the file (720 x 500 centred on the owner, or where the last viewer was closed) and
// shows it, not modal. A file that cannot be read is reported in an error box and gives no viewer.
TFormFileEdit* ShowFileViewer(const QString& path, QWidget* owner = nullptr);
