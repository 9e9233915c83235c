#pragma once
// Every icon and small picture of the application, painted with QPainter so that nothing depends
// on image files besides the three backgrounds. Pictures are painted at the screen's device pixel
// ratio and cached by the caller's widgets (a QLabel keeps its pixmap).

#include <QIcon>
#include <QPixmap>
#include <QSize>

class QLabel;

namespace orvan::ui {

class Pictures {
public:
    // The commands of Toolbar1 (1 study from disk, 2 connect, 3 graph, 4 proportions,
    // 5 histogram, 6 sample list, 7 alarms, 8 shipment summary) and the buttons of Toolbar2 (1 print,
    // 2 configuration, 4 finish). Other indexes give an empty icon.
    static QIcon toolbar1Icon(int index);
    static QIcon toolbar2Icon(int index);

    // Image1 elements 0..14, the small icons beside the status panel fields; the element decides
    // the role: start (0, 9), end (1, 8), interval (2, 3, 5, 10), samples (4, 6, 7),
    // exporter (11, 14), carrier (12, 13).
    static QPixmap fieldIcon(int element, int size = 18);
    // Image2 / Image2X: 0 low limit, 1 high limit.
    static QPixmap limitIcon(int element, int size = 18);

    // The pictures of the logger forms' picture list by index: 1 limit not exceeded, 2 exceeded,
    // 4 no data, 5 waiting for the push-button, 6 waiting for the set time, 7 recording,
    // 8 circular, 9 connected, 10 no communication, 11 finished (also the stop confirmation),
    // 13 start time out of reach, 14 start time accepted, 16 saved to disk, 17 not saved,
    // 19 erase. Unknown indexes give a null pixmap.
    static QPixmap statePicture(int index, int size = 24);
    static bool hasStatePicture(int index);

    // Extra panel glyphs: the PC clock beside the current time, the thermometer beside the
    // current temperature, the document beside the file name, the tag beside the serial number.
    static QPixmap clockIcon(int size = 18);
    static QPixmap thermometerIcon(int size = 18);
    static QPixmap fileIcon(int size = 18);
    static QPixmap serialIcon(int size = 18);

    // Accept and refuse glyphs of the dialogs' buttons.
    static QPixmap acceptIcon(int size = 20);
    static QPixmap refuseIcon(int size = 20);
    // Port search and firmware glyphs of the configuration dialog.
    static QPixmap portIcon(int size = 20);
    static QPixmap chipIcon(int size = 20);

    // The maker's logo and name (frameInstit).
    static QPixmap makerPicture(const QSize& size);
    // Flags of the five languages: 0 Spain, 1 United Kingdom, 2 Germany, 3 France, 4 Portugal.
    static QPixmap flag(int idioma, const QSize& size = QSize(36, 24));

    // The application's window icon.
    static QIcon appIcon();

    // A picture file of the application folder; null when it is missing, not a picture, or not
    // an ordinary file (a FIFO in its place must not hold the start-up).
    static QPixmap fromFile(const QString& path);

    // Shows a state picture (statePicture's index, 0 for none) in a label, at the label's size,
    // with its tool tip; shownState tells which one a label shows.
    static void showState(QLabel* label, int index, const QString& toolTip);
    static int shownState(const QLabel* label);
};

} // namespace orvan::ui
