#pragma once
// The status panel under the command toolbar (Picture1). It shows one of three frames: the
// summary of the record being studied (FrameDatos), the live logger (FrameComm) or the maker
// picture at rest (frameInstit). Other windows fill its labels directly, by these names.

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <array>

namespace orvan::ui {

class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(const QString& appFolder, QWidget* parent = nullptr);

    // Background "KLV-chico.jpg"; false when the picture could not be loaded.
    bool loadBackground(const QString& file);

    // Shows a picture of the link forms' picture list (1 limit ok, 2 exceeded, 4 no data,
    // 5 push-button, 6 set time, 7 recording, 8 circular, 9 connected, 10 no communication,
    // 11 finished, 16 saved, 17 not saved); 0 clears the picture. Sets the tool tip too.
    static void showPicture(QLabel* image, int index, const QString& toolTip = QString());
    // The picture index a label shows now (0 when none).
    static int pictureIndex(const QLabel* image);

    // Rest state: only frameInstit visible.
    void showRest();
    void showRecord();   // FrameDatos
    void showLive();     // FrameComm

    // FrameDatos: summary of the record being studied.
    QFrame* FrameDatos = nullptr;
    QLabel* lbArchivo = nullptr;
    QLabel* Label3 = nullptr;          // "Serial:"
    QLabel* lbNumSer = nullptr;
    QLabel* lbInicioMision = nullptr;
    QLabel* lbFinMision = nullptr;
    QLabel* lbRango = nullptr;
    QLabel* lbNumMuestras = nullptr;
    QFrame* Frame3 = nullptr;
    QLabel* lbAlarLow = nullptr;
    QLabel* lbAlarHi = nullptr;
    QLabel* imgLoAlar = nullptr;
    QLabel* ImgHiAlar = nullptr;
    std::array<QLabel*, 2> Image2{};  // 0 low limit, 1 high limit
    QLabel* lbExport = nullptr;
    QLabel* lbTransport = nullptr;

    // FrameComm: live data of the connected logger.
    QFrame* FrameComm = nullptr;
    QFrame* FrameSerial = nullptr;
    QLabel* Label2 = nullptr;          // "Serial:"
    QLabel* lbNumserX = nullptr;
    QLabel* lbHoraActualX = nullptr;
    QLabel* lbTempActualX = nullptr;
    QLabel* lbexportX = nullptr;
    QLabel* lbTransportX = nullptr;
    QFrame* Frame2 = nullptr;
    QLabel* imgKLV = nullptr;
    QLabel* imgStartmode = nullptr;
    QLabel* imgBat = nullptr;
    QLabel* imgRec = nullptr;
    QLabel* imgOver = nullptr;
    QFrame* Frame3X = nullptr;
    QLabel* lbHoraInicioX = nullptr;
    QLabel* lbHoraFinX = nullptr;
    QLabel* lbRangoX = nullptr;
    QLabel* lbNumMuestrasX = nullptr;
    QLabel* lbAlarLowX = nullptr;
    QLabel* lbAlarHiX = nullptr;
    QLabel* imgLoAlarX = nullptr;
    QLabel* ImgHiAlarX = nullptr;
    std::array<QLabel*, 2> Image2X{};

    // Rest state.
    QFrame* frameInstit = nullptr;
    QLabel* Image3 = nullptr;          // maker picture

    // Small icons beside the fields (elements 0..14).
    std::array<QLabel*, 15> Image1{};

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_appFolder;
    QPixmap m_background;   // as loaded
    QPixmap m_scaled;       // cut to the panel's size
};

} // namespace orvan::ui
