#pragma once
// The status panel under the command toolbar (Picture1). It shows one of three faces: the maker
// picture at rest, the summary of the record being studied, or the live logger. Windows hand it
// plain values (base/PanelValues.h); its widgets are its own.

#include "base/PanelValues.h"

#include <QFrame>
#include <QPixmap>
#include <array>
#include <map>

class QLabel;

namespace orvan { class TextTable; }

namespace orvan::ui {

class StatusPanel : public QFrame {
    Q_OBJECT
public:
    explicit StatusPanel(const QString& appFolder, QWidget* parent = nullptr);

    // Background "KLV-chico.jpg"; false when the picture could not be loaded.
    bool loadBackground(const QString& file);
    // Tool tips in the current language.
    void setTexts(const TextTable& textos);

    enum class Face { Rest, Record, Live };
    Face face() const { return m_face; }
    void showRest();
    void showRecord(const RecordPanel& values);
    // The live face as last filled; what a new logger window shows until its first status.
    void showLive();
    void updateLive(const LivePanel& values);

    // What the panel shows, for the printed report and the tests.
    enum class Item {
        // Record face.
        File, Serial, Start, End, Interval, Samples, HighLimit, LowLimit, Exporter, Carrier, HighAlarm, LowAlarm,
        // Live face.
        LiveSerial, Clock, Temperature, LiveStart, LiveEnd, LiveInterval, LiveSamples, LiveHighLimit, LiveLowLimit,
        LiveExporter, LiveCarrier, Link, Recording, StartMode, Circular, Battery, LiveHighAlarm, LiveLowAlarm,
    };
    QString text(Item item) const;
    int picture(Item item) const;      // the picture's index in the logger pictures' list; 0 none
    QString toolTip(Item item) const;
    const RecordPanel& record() const { return m_record; }
    bool missionShown() const;
    bool serialShown() const;

    // The icon beside a field of the record face, for the printed report.
    static QPixmap fieldIcon(Item item, int size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* label(Item item) const;
    void showPicture(Item item, const PanelPicture& picture);

    QString m_appFolder;
    QPixmap m_background;   // as loaded
    QPixmap m_scaled;       // cut to the panel's size
    Face m_face = Face::Rest;
    RecordPanel m_record;
    std::map<Item, QLabel*> m_labels;
    std::map<Item, QLabel*> m_icons;      // the icon beside a value, where it has one
    QFrame* m_recordFace = nullptr;
    QFrame* m_liveFace = nullptr;
    QFrame* m_restFace = nullptr;
    QFrame* m_mission = nullptr;          // Frame3X
    QFrame* m_serial = nullptr;           // FrameSerial
    std::array<QLabel*, 2> m_serialCaptions{};
};

} // namespace orvan::ui
