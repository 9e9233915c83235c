#pragma once
// Config: the configuration window. Chooses the language and the temperature unit, and hosts
// the serial-port search and the firmware-version question. The unit takes effect when it is
// clicked; OK stores both choices in "Ruta.CnF" and relabels the main window.

#include <QWidget>
#include <array>

class QLabel;
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

    // The button handlers, as a click runs them.
    void optGradosClick(int index);
    void CmndAbrirClick();
    void CmndCancelClick();
    void Command1Click();
    void Command2Click();

private:
    MainWindow& m_main;
};

} // namespace orvan::shell
