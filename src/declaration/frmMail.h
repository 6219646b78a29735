#pragma once
// The small e-mail window: one message with one attached file, to an address typed or chosen
// from listmail.dat in the program folder (a file the program only reads).

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zul {

class frmMail : public QWidget {
    Q_OBJECT

  public:
    explicit frmMail(QWidget* parent = nullptr);

    // Centres the window and fills the address list from listmail.dat.
    void Form_Load();

  public slots:
    // Sends what the boxes hold; a failure is told to the user and the boxes stay as they are.
    void cmdenviar_Click();
    void cmdCancelar_Click();
    void cmdSalir_Click();

  private:
    QComboBox* cboMail;
    QLineEdit* texto0;       // subject
    QLineEdit* texto1;       // attachment path
    QPlainTextEdit* texto2;  // body
    QPushButton* cmdenviar;
    QPushButton* cmdCancelar;
    QPushButton* cmdSalir;
};

}  // namespace zul
