#pragma once
// The KATOTTG picker "КАТОТТГ": the codifier as a tree that loads its levels on expansion, a search by the
// six-digit territory ID, "Обрати" and "Скасувати". Created once at start-up and reused; the chosen ID stays
// in the window after it closes.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeView;
class TDataQuery;
class TKatottgTreeModel;

class TFormSelectKatottg : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelectKatottg(QWidget* parent = nullptr);
    ~TFormSelectKatottg() override;

    // The query the tree runs on (the reference database); not owned. Without one the data module's
    // reference query is used.
    void SetQuery(TDataQuery* query);
    // Fills the root level (one node per oblast); at program start.
    bool FillTree();

    // The ID chosen by the last successful "Обрати".
    QString ChosenId() const { return chosenId_; }

    TKatottgTreeModel* Model() const { return model_; }
    QTreeView* Tree() const { return TreeViewDistr; }

    // The buttons' handlers.
    void SearchById();
    void Choose();

private:
    void EnsureQuery();

    TKatottgTreeModel* model_ = nullptr;
    QTreeView* TreeViewDistr = nullptr;
    QLineEdit* ESearchText = nullptr;
    QPushButton* BSearchId = nullptr;
    QPushButton* BSelect = nullptr;
    QPushButton* BCancel = nullptr;
    QString chosenId_;
    bool hasQuery_ = false;
};
