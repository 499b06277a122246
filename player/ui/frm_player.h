// frmPlayer: the program's main window.
#pragma once

#include <QWidget>

class frmPlayer : public QWidget {
    Q_OBJECT
public:
    explicit frmPlayer(QWidget* parent = nullptr);
};
