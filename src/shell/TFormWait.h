#pragma once
#include <QDialog>

// Created once at start-up and shown when needed.
class TFormWait : public QDialog {
    Q_OBJECT
public:
    explicit TFormWait(QWidget* parent = nullptr);
};
