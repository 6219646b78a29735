#pragma once
// The about box: the program's logo, the maker's details and a link to the maker's site.

#include <QWidget>

class QFrame;
class QLabel;
class QToolButton;

namespace zul {

class Class1;

class About : public QWidget {
    Q_OBJECT
  public:
    explicit About(QWidget* parent = nullptr);

    void Form_Load();
    void Image2_Click();

  private:
    void ArmarVentana();

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QFrame* Picture1 = nullptr;
    QToolButton* Image2 = nullptr;
    Class1* Link = nullptr;
};

}  // namespace zul
