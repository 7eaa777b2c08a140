#pragma once
// "Довідник Клк": the Клк table of NGO.dat for choosing a value. Shown modally; the caller presets the
// filter text and reads the chosen value after OK.
#include <QDialog>

#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class TNgoTables;

class TFormSelectCoefKlk : public QDialog {
    Q_OBJECT
public:
    // Reads the "dod13=" lines of the NGO.dat of the program folder (or of ngoPath when given).
    explicit TFormSelectCoefKlk(QWidget* parent = nullptr, const QString& ngoPath = QString());
    ~TFormSelectCoefKlk() override;

    void SetFilterText(const QString& text);
    QString Value() const;
    void SetValue(const QString& value);
    int RowCount() const;
    bool RowShown(int row) const;
    QTableView* Grid() const { return NextGridCoefKlk; }

    // The handlers.
    void ToggleFilter(bool pressed);
    void CellClicked(int row, int column);
    void Choose();

private:
    void ShowRowVisibility();

    std::unique_ptr<TNgoTables> tables_; // the picker's own copy of the table
    QPlainTextEdit* MemoKlk = nullptr;
    QLineEdit* EFilterKlk = nullptr;
    QPushButton* BFilterKlk = nullptr;
    QTableView* NextGridCoefKlk = nullptr;
    QLineEdit* EKlkValue = nullptr;
};
