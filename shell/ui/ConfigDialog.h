#pragma once
// Config: the configuration window. Chooses the language and the temperature unit, and hosts
// the serial-port search and the firmware-version question. The unit takes effect when it is
// clicked; OK stores both choices in "Ruta.CnF" and relabels the main window. It also chooses
// the records archive (this computer's file or a shared PostgreSQL server), kept in a settings
// file of its own beside "Ruta.CnF".

#include <QString>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvan::shell {

class MainWindow;

class ConfigDialog : public QWidget {
    Q_OBJECT
public:
    explicit ConfigDialog(MainWindow& main, QWidget* parent = nullptr);

    std::array<QRadioButton*, 2> optGrados{};     // 0 "°C", 1 "°F"
    std::array<QRadioButton*, 5> optLenguaje{};   // Spanish, English, German, French, Portuguese
    std::array<QLabel*, 5> imgFlag{};          // the flag beside each language
    QPushButton* CmndAbrir = nullptr;             // OK
    QPushButton* CmndCancel = nullptr;
    QPushButton* Command1 = nullptr;              // serial-port search
    QPushButton* Command2 = nullptr;              // firmware version
    std::array<QRadioButton*, 2> optArchivo{};    // 0 this computer, 1 a PostgreSQL server
    QLineEdit* txtArchivoUrl = nullptr;           // the server's postgresql:// URL

    // The button handlers, as a click runs them.
    void optGradosClick(int index);
    void CmndAbrirClick();
    void CmndCancelClick();
    void Command1Click();
    void Command2Click();

private:
    MainWindow& m_main;
    QString m_archiveChoice;   // the archive as its settings file named it when the window opened
};

} // namespace orvan::shell
