#pragma once
#include <QDialog>

// Created once at start-up and shown when needed.
class TFormLogDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogDlg(QWidget* parent = nullptr);
};
