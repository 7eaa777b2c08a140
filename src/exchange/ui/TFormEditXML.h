#pragma once
#include <QMainWindow>

// Created once at start-up and shown when needed.
class TFormEditXML : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormEditXML(QWidget* parent = nullptr);
};
