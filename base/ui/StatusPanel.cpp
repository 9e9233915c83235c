#include "base/ui/StatusPanel.h"

#include "base/ui/Twips.h"
#include "base/ui/Pictures.h"
#include "base/TextTable.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QPainter>
#include <QPaintEvent>
#include <QVBoxLayout>

namespace orvan::ui {

namespace {

constexpr int kIconSize = 18;
constexpr int kStateSize = 24;
constexpr int kLimitPictureSize = 18;
constexpr const char* kPictureSize = "pictureSize";

// The groups of the panel are translucent cards, so that the texture shows through while the
// texts keep a light, even ground.
QFrame* card(QWidget* parent, const QString& name)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setStyleSheet(QStringLiteral("QFrame#%1 { background: rgba(255, 255, 255, 170);"
                                    " border: 1px solid rgba(31, 59, 99, 70); border-radius: 6px; }")
                         .arg(name));
    return f;
}

// A frame that only groups: no border and no ground of its own.
QFrame* plain(QWidget* parent, const QString& name)
{
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setFrameShape(QFrame::NoFrame);
    f->setStyleSheet(QStringLiteral("QFrame#%1 { background: transparent; border: none; }").arg(name));
    return f;
}

QLabel* pictureLabel(QWidget* parent, const QString& name, const QPixmap& pm, int size)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFixedSize(size, size);
    l->setAlignment(Qt::AlignCenter);
    l->setProperty(kPictureSize, size);
    if (!pm.isNull())
        l->setPixmap(pm);
    return l;
}

QLabel* value(QWidget* parent, const QString& name, const QString& widest = QString())
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setWeight(QFont::DemiBold);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: #1f3b63;"));
    l->setTextFormat(Qt::PlainText);
    if (!widest.isEmpty())
        l->setMinimumWidth(QFontMetrics(f).horizontalAdvance(widest) + 6);
    // Long names are cut rather than pushing the other groups out of the panel.
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: #4a5563;"));
    return l;
}

QGridLayout* rows(QFrame* frame)
{
    auto* g = new QGridLayout(frame);
    g->setContentsMargins(7, 4, 9, 4);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);
    return g;
}

QHBoxLayout* line(QWidget* first, QWidget* second)
{
    auto* h = new QHBoxLayout;
    h->setSpacing(4);
    h->addWidget(first);
    h->addWidget(second);
    h->addStretch(1);
    return h;
}

const QString kDateWidth = QStringLiteral("00/00/0000 - 00:00");
const QString kNameWidth = QStringLiteral("MMMMMMMMMMMM");

using Item = StatusPanel::Item;

// The field icons of the pictures' list, by the value they stand beside.
int fieldElement(Item item)
{
    switch (item) {
    case Item::Start: return 0;
    case Item::End: return 1;
    case Item::Interval: return 2;
    case Item::Samples: return 6;
    case Item::Exporter: return 14;
    case Item::Carrier: return 13;
    case Item::LiveStart: return 9;
    case Item::LiveEnd: return 8;
    case Item::LiveInterval: return 10;
    case Item::LiveSamples: return 7;
    case Item::LiveExporter: return 11;
    case Item::LiveCarrier: return 12;
    default: return -1;
    }
}

QPixmap iconFor(Item item, int size)
{
    switch (item) {
    case Item::LowLimit:
    case Item::LiveLowLimit:
        return Pictures::limitIcon(0, size);
    case Item::HighLimit:
    case Item::LiveHighLimit:
        return Pictures::limitIcon(1, size);
    default:
        break;
    }
    const int element = fieldElement(item);
    return element >= 0 ? Pictures::fieldIcon(element, size) : QPixmap();
}

} // namespace

StatusPanel::StatusPanel(const QString& appFolder, QWidget* parent)
    : QFrame(parent), m_appFolder(appFolder)
{
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);

    // A value with the icon of its field before it.
    const auto field = [this](QFrame* parent, QGridLayout* g, int row, int column, Item item, const char* name,
                              const QString& widest) {
        QLabel* icon = pictureLabel(parent, QStringLiteral("%1_icon").arg(QLatin1String(name)), iconFor(item, kIconSize), kIconSize);
        QLabel* v = value(parent, QLatin1String(name), widest);
        g->addWidget(icon, row, column);
        g->addWidget(v, row, column + 1);
        m_icons[item] = icon;
        m_labels[item] = v;
        return v;
    };
    // One card of two rows: the groups of both faces are built by it.
    const auto twoRows = [&](QFrame* face, const char* name, Item first, const char* firstName, const QString& firstWidest,
                             Item second, const char* secondName, const QString& secondWidest) {
        QFrame* c = card(face, QLatin1String(name));
        QGridLayout* g = rows(c);
        field(c, g, 0, 0, first, firstName, firstWidest);
        field(c, g, 1, 0, second, secondName, secondWidest);
        return c;
    };
    // A limit with the picture that says whether it was exceeded.
    const auto limits = [&](QFrame* c, QGridLayout* g, int column, Item high, const char* highName, Item highAlarm,
                            const char* highAlarmName, Item low, const char* lowName, Item lowAlarm, const char* lowAlarmName) {
        field(c, g, 0, column, high, highName, QStringLiteral(" > -00.0 °C"));
        field(c, g, 1, column, low, lowName, QStringLiteral(" < -00.0 °C"));
        m_labels[highAlarm] = pictureLabel(c, QLatin1String(highAlarmName), QPixmap(), kLimitPictureSize);
        m_labels[lowAlarm] = pictureLabel(c, QLatin1String(lowAlarmName), QPixmap(), kLimitPictureSize);
        g->addWidget(m_labels[highAlarm], 0, column + 2);
        g->addWidget(m_labels[lowAlarm], 1, column + 2);
    };
    const auto faceFrame = [this](const char* name) {
        QFrame* f = plain(this, QLatin1String(name));
        auto* h = new QHBoxLayout(f);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(8);
        return std::make_pair(f, h);
    };

    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(8, 5, 8, 5);

    // The record being studied.
    {
        auto [face, h] = faceFrame("FrameDatos");
        m_recordFace = face;
        QFrame* file = card(face, QStringLiteral("FrameArchivo"));
        QGridLayout* g = rows(file);
        QLabel* fileName = field(file, g, 0, 0, Item::File, "lbArchivo", QStringLiteral("MMMMMMMMMMMMMMM"));
        fileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        m_icons[Item::File]->setPixmap(Pictures::fileIcon(kIconSize));
        m_serialCaptions[0] = caption(file, QStringLiteral("Label3"), QStringLiteral("Serial:"));
        m_labels[Item::Serial] = value(file, QStringLiteral("lbNumSer"), QStringLiteral("00000000"));
        g->addWidget(pictureLabel(file, QStringLiteral("imgSerie"), Pictures::serialIcon(kIconSize), kIconSize), 1, 0);
        g->addLayout(line(m_serialCaptions[0], m_labels[Item::Serial]), 1, 1);
        h->addWidget(file);
        h->addWidget(twoRows(face, "FrameFechas", Item::Start, "lbInicioMision", kDateWidth, Item::End, "lbFinMision", kDateWidth));
        h->addWidget(twoRows(face, "FrameMuestras", Item::Interval, "lbRango", QStringLiteral("000 min"), Item::Samples,
                             "lbNumMuestras", QStringLiteral("00000")));
        QFrame* limitCard = card(face, QStringLiteral("Frame3"));
        limits(limitCard, rows(limitCard), 0, Item::HighLimit, "lbAlarHi", Item::HighAlarm, "ImgHiAlar", Item::LowLimit,
               "lbAlarLow", Item::LowAlarm, "imgLoAlar");
        h->addWidget(limitCard);
        h->addWidget(twoRows(face, "FrameNombres", Item::Exporter, "lbExport", kNameWidth, Item::Carrier, "lbTransport", kNameWidth));
        h->addStretch(1);
        outer->addWidget(face, 0, 0);
    }

    // The connected logger.
    {
        auto [face, h] = faceFrame("FrameComm");
        m_liveFace = face;
        m_serial = card(face, QStringLiteral("FrameSerial"));
        QGridLayout* g = rows(m_serial);
        m_serialCaptions[1] = caption(m_serial, QStringLiteral("Label2"), QStringLiteral("Serial:"));
        m_labels[Item::LiveSerial] = value(m_serial, QStringLiteral("lbNumserX"), QStringLiteral("00000"));
        g->addWidget(pictureLabel(m_serial, QStringLiteral("imgSerieX"), Pictures::serialIcon(kIconSize), kIconSize), 0, 0);
        g->addLayout(line(m_serialCaptions[1], m_labels[Item::LiveSerial]), 0, 1);
        field(m_serial, g, 1, 0, Item::Clock, "lbHoraActualX", kDateWidth);
        m_icons[Item::Clock]->setPixmap(Pictures::clockIcon(kIconSize));
        h->addWidget(m_serial);

        QFrame* state = card(face, QStringLiteral("FrameEstado"));
        auto* v = new QVBoxLayout(state);
        v->setContentsMargins(7, 3, 9, 3);
        v->setSpacing(2);
        QFrame* pictures = plain(state, QStringLiteral("Frame2"));
        auto* row = new QHBoxLayout(pictures);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(5);
        const std::pair<Item, const char*> states[] = {{Item::Link, "imgKLV"}, {Item::StartMode, "imgStartmode"},
                                                       {Item::Battery, "imgBat"}, {Item::Recording, "imgRec"},
                                                       {Item::Circular, "imgOver"}};
        for (const auto& [item, name] : states) {
            m_labels[item] = pictureLabel(pictures, QLatin1String(name), QPixmap(), kStateSize);
            row->addWidget(m_labels[item]);
        }
        v->addWidget(pictures);
        QLabel* temperature = value(state, QStringLiteral("lbTempActualX"), QStringLiteral("-00 °C"));
        QFont big = temperature->font();
        big.setPointSizeF(big.pointSizeF() * 1.15);
        temperature->setFont(big);
        m_labels[Item::Temperature] = temperature;
        v->addLayout(line(pictureLabel(state, QStringLiteral("imgTermometroX"), Pictures::thermometerIcon(kIconSize), kIconSize),
                          temperature));
        h->addWidget(state);

        m_mission = card(face, QStringLiteral("Frame3X"));
        g = rows(m_mission);
        g->setHorizontalSpacing(5);
        const auto separator = [this, g](int column) {
            auto* s = new QFrame(m_mission);
            s->setFixedWidth(1);
            s->setStyleSheet(QStringLiteral("background: rgba(31, 59, 99, 50); border: none;"));
            g->addWidget(s, 0, column, 2, 1);
        };
        field(m_mission, g, 0, 0, Item::LiveStart, "lbHoraInicioX", kDateWidth);
        field(m_mission, g, 1, 0, Item::LiveEnd, "lbHoraFinX", kDateWidth);
        separator(2);
        field(m_mission, g, 0, 3, Item::LiveInterval, "lbRangoX", QStringLiteral("000 min"));
        field(m_mission, g, 1, 3, Item::LiveSamples, "lbNumMuestrasX", QStringLiteral("00000"));
        separator(5);
        limits(m_mission, g, 6, Item::LiveHighLimit, "lbAlarHiX", Item::LiveHighAlarm, "ImgHiAlarX", Item::LiveLowLimit,
               "lbAlarLowX", Item::LiveLowAlarm, "imgLoAlarX");
        h->addWidget(m_mission);
        h->addWidget(twoRows(face, "FrameNombresX", Item::LiveExporter, "lbexportX", kNameWidth, Item::LiveCarrier,
                             "lbTransportX", kNameWidth));
        h->addStretch(1);
        outer->addWidget(face, 0, 0);
    }

    // At rest: the maker.
    {
        auto [face, h] = faceFrame("frameInstit");
        m_restFace = face;
        h->setContentsMargins(6, 0, 0, 0);
        auto* maker = new QLabel(face);
        maker->setObjectName(QStringLiteral("Image3"));
        maker->setPixmap(Pictures::makerPicture(QSize(300, 58)));
        h->addWidget(maker);
        h->addStretch(1);
        outer->addWidget(face, 0, 0);
    }

    setFixedHeight(qMax(twipsToPixels(1215), outer->sizeHint().height()));
    showRest();
}

void StatusPanel::setTexts(const TextTable& textos)
{
    const auto tip = [this](std::initializer_list<Item> items, const QString& text) {
        for (Item item : items) {
            if (QLabel* l = label(item))
                l->setToolTip(text);
            if (const auto icon = m_icons.find(item); icon != m_icons.end())
                icon->second->setToolTip(text);
        }
    };
    tip({Item::Start, Item::LiveStart}, textos[Text::StartTime]);
    tip({Item::End, Item::LiveEnd}, textos[Text::FinishTime]);
    tip({Item::Interval, Item::LiveInterval}, textos[Text::TimeBetweenSamples]);
    tip({Item::Samples, Item::LiveSamples}, textos[Text::SampleCount]);
    tip({Item::LowLimit, Item::LiveLowLimit, Item::LowAlarm, Item::LiveLowAlarm}, textos[Text::LowLimit]);
    tip({Item::HighLimit, Item::LiveHighLimit, Item::HighAlarm, Item::LiveHighAlarm}, textos[Text::HighLimit]);
    tip({Item::Exporter, Item::LiveExporter}, textos[Text::ExporterName]);
    tip({Item::Carrier, Item::LiveCarrier}, textos[Text::CarrierName]);
    tip({Item::Serial, Item::LiveSerial}, textos[Text::LoggerSerial]);
    for (QLabel* l : m_serialCaptions)
        l->setToolTip(textos[Text::LoggerSerial]);
    tip({Item::Clock, Item::Temperature}, textos[Text::CurrentTime]);
    tip({Item::File}, textos[Text::FileName]);
    // The glyphs that stand beside no single value say the same as their group.
    const std::pair<const char*, Text> glyphs[] = {
        {"imgSerie", Text::LoggerSerial}, {"imgSerieX", Text::LoggerSerial}, {"imgTermometroX", Text::CurrentTime}};
    for (const auto& [name, text] : glyphs) {
        if (auto* w = findChild<QWidget*>(QLatin1String(name)))
            w->setToolTip(textos[text]);
    }
}

QLabel* StatusPanel::label(Item item) const
{
    const auto it = m_labels.find(item);
    return it == m_labels.end() ? nullptr : it->second;
}

QString StatusPanel::text(Item item) const
{
    const QLabel* l = label(item);
    return l ? l->text() : QString();
}

int StatusPanel::picture(Item item) const
{
    return Pictures::shownState(label(item));
}

QString StatusPanel::toolTip(Item item) const
{
    const QLabel* l = label(item);
    return l ? l->toolTip() : QString();
}

bool StatusPanel::missionShown() const
{
    return !m_mission->isHidden();
}

bool StatusPanel::serialShown() const
{
    return !m_serial->isHidden();
}

QPixmap StatusPanel::fieldIcon(Item item, int size)
{
    return iconFor(item, size);
}

void StatusPanel::showPicture(Item item, const PanelPicture& shown)
{
    Pictures::showState(label(item), shown.index, shown.toolTip);
}

void StatusPanel::showRest()
{
    m_face = Face::Rest;
    m_recordFace->hide();
    m_liveFace->hide();
    m_restFace->show();
}

void StatusPanel::showRecord(const RecordPanel& v)
{
    m_record = v;
    const std::pair<Item, const QString*> texts[] = {
        {Item::File, &v.file},         {Item::Serial, &v.serial},       {Item::Start, &v.start},
        {Item::End, &v.end},           {Item::Interval, &v.interval},   {Item::Samples, &v.samples},
        {Item::HighLimit, &v.highLimit}, {Item::LowLimit, &v.lowLimit}, {Item::Exporter, &v.exporter},
        {Item::Carrier, &v.carrier},
    };
    for (const auto& [item, text] : texts)
        label(item)->setText(*text);
    // The limit pictures keep the limits' tool tips.
    showPicture(Item::HighAlarm, {v.highExceeded ? 2 : 1, toolTip(Item::HighAlarm)});
    showPicture(Item::LowAlarm, {v.lowExceeded ? 2 : 1, toolTip(Item::LowAlarm)});
    m_face = Face::Record;
    m_liveFace->hide();
    m_restFace->hide();
    m_recordFace->show();
}

void StatusPanel::showLive()
{
    m_face = Face::Live;
    m_recordFace->hide();
    m_restFace->hide();
    m_liveFace->show();
}

void StatusPanel::updateLive(const LivePanel& v)
{
    const std::pair<Item, const std::optional<QString>*> texts[] = {
        {Item::LiveStart, &v.start},         {Item::LiveEnd, &v.end},           {Item::LiveSamples, &v.samples},
        {Item::LiveInterval, &v.interval},   {Item::Temperature, &v.temperature}, {Item::LiveHighLimit, &v.highLimit},
        {Item::LiveLowLimit, &v.lowLimit},   {Item::Clock, &v.clock},           {Item::LiveExporter, &v.exporter},
        {Item::LiveCarrier, &v.carrier},     {Item::LiveSerial, &v.serial},
    };
    for (const auto& [item, text] : texts) {
        if (*text)
            label(item)->setText(**text);
    }
    const std::pair<Item, const std::optional<PanelPicture>*> pictures[] = {
        {Item::Link, &v.link},           {Item::Recording, &v.recording},   {Item::StartMode, &v.startMode},
        {Item::Circular, &v.circular},   {Item::Battery, &v.battery},       {Item::LiveHighAlarm, &v.highAlarm},
        {Item::LiveLowAlarm, &v.lowAlarm},
    };
    for (const auto& [item, shown] : pictures) {
        if (*shown)
            showPicture(item, **shown);
    }
    if (v.missionShown)
        m_mission->setVisible(*v.missionShown);
    if (v.serialShown)
        m_serial->setVisible(*v.serialShown);
}

bool StatusPanel::loadBackground(const QString& file)
{
    const QString path = QDir::isAbsolutePath(file) ? file : QDir(m_appFolder).filePath(file);
    const QPixmap pm = Pictures::fromFile(path);
    if (pm.isNull()) {
        m_background = QPixmap();
        m_scaled = QPixmap();
        update();
        return false;
    }
    m_background = pm;
    m_scaled = QPixmap();
    update();
    return true;
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    if (!m_background.isNull()) {
        // Cover the whole panel, keeping the picture's proportions.
        if (m_scaled.size() != size() * devicePixelRatioF()) {
            const QSize target = size() * devicePixelRatioF();
            QPixmap s = m_background.scaled(target, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
            m_scaled = s.copy((s.width() - target.width()) / 2, (s.height() - target.height()) / 2,
                              target.width(), target.height());
            m_scaled.setDevicePixelRatio(devicePixelRatioF());
        }
        p.drawPixmap(0, 0, m_scaled);
    } else {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0xf4, 0xf8, 0xfb));
        g.setColorAt(1, QColor(0xdc, 0xe6, 0xee));
        p.fillRect(rect(), g);
    }
    p.setPen(QColor(0x1f, 0x3b, 0x63, 80));
    p.drawLine(0, height() - 1, width(), height() - 1);
    QFrame::paintEvent(event);
}

} // namespace orvan::ui
