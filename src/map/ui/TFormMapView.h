#pragma once
#include <QMainWindow>

// Created once at start-up and shown when needed.
class TFormMapView : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMapView(QWidget* parent = nullptr);
};
