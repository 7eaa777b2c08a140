#pragma once
#include <QMainWindow>

// The main window: the one open exchange file, its navigator and the action log.
class TFormXMLMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormXMLMain(QWidget* parent = nullptr);
};
