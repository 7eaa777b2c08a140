#pragma once
#include <QDialog>

// Created once at start-up and shown when needed.
class TFormCK63 : public QDialog {
    Q_OBJECT
public:
    explicit TFormCK63(QWidget* parent = nullptr);
};
