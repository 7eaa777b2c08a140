#pragma once
#include <QDialog>

// Created once at start-up and shown when needed.
class TFormDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFormDialog(QWidget* parent = nullptr);
};
