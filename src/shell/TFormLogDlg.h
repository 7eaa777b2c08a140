#pragma once
// The action log: progress and error lines of opening, creating, saving and checking files, and the
// findings of the structure check. A small tool window that stays on top; created once at start-up.
#include <QDialog>
#include <QStringList>

#include <functional>

class QListWidget;
class QAction;

class TFormLogDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogDlg(QWidget* parent = nullptr);

    void Clear();
    // Appends a line and selects it.
    void AddLine(const QString& text);
    // Replaces every line.
    void SetLines(const QStringList& lines);
    QStringList Lines() const;
    // The selected line, or an empty text without one; row is -1 then.
    QString SelectedLine(int* row = nullptr) const;
    void SelectRow(int row);

    QListWidget* List() const { return list_; }

    // "Копіювати текст": the selected line to the clipboard; nothing without a selected line.
    void CopySelectedLine();
    // "Знайти у редакторі" and a double-click: hands the selected line to the finding handler.
    void FindSelectedInEditor();
    // Set by the main window: jumps from a finding to the editor (first line = the count, handled there).
    void SetFindingHandler(std::function<void(const QString& line, int row)> handler) {
        onFinding_ = std::move(handler);
    }

private:
    QListWidget* list_;
    QAction* copy_;
    QAction* find_;
    std::function<void(const QString&, int)> onFinding_;
};
