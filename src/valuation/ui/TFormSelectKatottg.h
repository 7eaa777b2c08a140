#pragma once
#include <QDialog>

// Created once at start-up and shown when needed.
class TFormSelectKatottg : public QDialog {
    Q_OBJECT
public:
    explicit TFormSelectKatottg(QWidget* parent = nullptr);
};
