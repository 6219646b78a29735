#pragma once
// The main window. (Being built; this stands in so the program starts.)

#include <QMainWindow>

namespace zul {

class Menu : public QMainWindow {
    Q_OBJECT
public:
    explicit Menu(QWidget* parent = nullptr);
    // Reads the current company; false when the database cannot be read (the user was told).
    bool MDIForm_Load();
};

}  // namespace zul
