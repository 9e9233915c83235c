#include "base/ui/StatusPanel.h"

#include "base/ui/Twips.h"
#include "base/ui/Pictures.h"

#include <QDir>
#include <QGridLayout>
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
constexpr const char* kPictureIndex = "pictureIndex";

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

QLabel* picture(QWidget* parent, const QString& name, const QPixmap& pm, int size)
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

} // namespace

StatusPanel::StatusPanel(const QString& appFolder, QWidget* parent)
    : QFrame(parent), m_appFolder(appFolder)
{
    setObjectName(QStringLiteral("Picture1"));
    setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);

    for (int i = 0; i < 15; ++i)
        Image1[i] = picture(this, QStringLiteral("Image1_%1").arg(i), Pictures::fieldIcon(i, kIconSize), kIconSize);

    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(8, 5, 8, 5);

    // Summary of the record being studied.
    FrameDatos = plain(this, QStringLiteral("FrameDatos"));
    {
        auto* h = new QHBoxLayout(FrameDatos);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(8);

        QFrame* file = card(FrameDatos, QStringLiteral("FrameArchivo"));
        auto* g = rows(file);
        lbArchivo = value(file, QStringLiteral("lbArchivo"), QStringLiteral("MMMMMMMMMMMMMMM"));
        lbArchivo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        Label3 = caption(file, QStringLiteral("Label3"), QStringLiteral("Serial:"));
        lbNumSer = value(file, QStringLiteral("lbNumSer"), QStringLiteral("00000000"));
        g->addWidget(picture(file, QStringLiteral("imgArchivo"), Pictures::fileIcon(kIconSize), kIconSize), 0, 0);
        g->addWidget(lbArchivo, 0, 1);
        g->addWidget(picture(file, QStringLiteral("imgSerie"), Pictures::serialIcon(kIconSize), kIconSize), 1, 0);
        g->addLayout(line(Label3, lbNumSer), 1, 1);
        h->addWidget(file);

        QFrame* dates = card(FrameDatos, QStringLiteral("FrameFechas"));
        g = rows(dates);
        lbInicioMision = value(dates, QStringLiteral("lbInicioMision"), kDateWidth);
        lbFinMision = value(dates, QStringLiteral("lbFinMision"), kDateWidth);
        Image1[0]->setParent(dates);
        Image1[1]->setParent(dates);
        g->addWidget(Image1[0], 0, 0);
        g->addWidget(lbInicioMision, 0, 1);
        g->addWidget(Image1[1], 1, 0);
        g->addWidget(lbFinMision, 1, 1);
        h->addWidget(dates);

        QFrame* samples = card(FrameDatos, QStringLiteral("FrameMuestras"));
        g = rows(samples);
        lbRango = value(samples, QStringLiteral("lbRango"), QStringLiteral("000 min"));
        lbNumMuestras = value(samples, QStringLiteral("lbNumMuestras"), QStringLiteral("00000"));
        Image1[2]->setParent(samples);
        Image1[6]->setParent(samples);
        g->addWidget(Image1[2], 0, 0);
        g->addWidget(lbRango, 0, 1);
        g->addWidget(Image1[6], 1, 0);
        g->addWidget(lbNumMuestras, 1, 1);
        h->addWidget(samples);

        Frame3 = card(FrameDatos, QStringLiteral("Frame3"));
        g = rows(Frame3);
        Image2[0] = picture(Frame3, QStringLiteral("Image2_0"), Pictures::limitIcon(0, kIconSize), kIconSize);
        Image2[1] = picture(Frame3, QStringLiteral("Image2_1"), Pictures::limitIcon(1, kIconSize), kIconSize);
        lbAlarHi = value(Frame3, QStringLiteral("lbAlarHi"), QStringLiteral(" > -00.0 °C"));
        lbAlarLow = value(Frame3, QStringLiteral("lbAlarLow"), QStringLiteral(" < -00.0 °C"));
        ImgHiAlar = picture(Frame3, QStringLiteral("ImgHiAlar"), QPixmap(), kLimitPictureSize);
        imgLoAlar = picture(Frame3, QStringLiteral("imgLoAlar"), QPixmap(), kLimitPictureSize);
        g->addWidget(Image2[1], 0, 0);
        g->addWidget(lbAlarHi, 0, 1);
        g->addWidget(ImgHiAlar, 0, 2);
        g->addWidget(Image2[0], 1, 0);
        g->addWidget(lbAlarLow, 1, 1);
        g->addWidget(imgLoAlar, 1, 2);
        h->addWidget(Frame3);

        QFrame* names = card(FrameDatos, QStringLiteral("FrameNombres"));
        g = rows(names);
        lbExport = value(names, QStringLiteral("lbExport"), kNameWidth);
        lbTransport = value(names, QStringLiteral("lbTransport"), kNameWidth);
        Image1[14]->setParent(names);
        Image1[13]->setParent(names);
        g->addWidget(Image1[14], 0, 0);
        g->addWidget(lbExport, 0, 1);
        g->addWidget(Image1[13], 1, 0);
        g->addWidget(lbTransport, 1, 1);
        h->addWidget(names);
        h->addStretch(1);
    }
    outer->addWidget(FrameDatos, 0, 0);

    // Live data of the connected logger.
    FrameComm = plain(this, QStringLiteral("FrameComm"));
    {
        auto* h = new QHBoxLayout(FrameComm);
        h->setContentsMargins(0, 0, 0, 0);
        h->setSpacing(8);

        FrameSerial = card(FrameComm, QStringLiteral("FrameSerial"));
        auto* g = rows(FrameSerial);
        Label2 = caption(FrameSerial, QStringLiteral("Label2"), QStringLiteral("Serial:"));
        lbNumserX = value(FrameSerial, QStringLiteral("lbNumserX"), QStringLiteral("00000"));
        lbHoraActualX = value(FrameSerial, QStringLiteral("lbHoraActualX"), kDateWidth);
        g->addWidget(picture(FrameSerial, QStringLiteral("imgSerieX"), Pictures::serialIcon(kIconSize), kIconSize), 0, 0);
        g->addLayout(line(Label2, lbNumserX), 0, 1);
        g->addWidget(picture(FrameSerial, QStringLiteral("imgRelojX"), Pictures::clockIcon(kIconSize), kIconSize), 1, 0);
        g->addWidget(lbHoraActualX, 1, 1);
        h->addWidget(FrameSerial);

        QFrame* state = card(FrameComm, QStringLiteral("FrameEstado"));
        auto* v = new QVBoxLayout(state);
        v->setContentsMargins(7, 3, 9, 3);
        v->setSpacing(2);
        Frame2 = plain(state, QStringLiteral("Frame2"));
        auto* pictures = new QHBoxLayout(Frame2);
        pictures->setContentsMargins(0, 0, 0, 0);
        pictures->setSpacing(5);
        imgKLV = picture(Frame2, QStringLiteral("imgKLV"), QPixmap(), kStateSize);
        imgStartmode = picture(Frame2, QStringLiteral("imgStartmode"), QPixmap(), kStateSize);
        imgBat = picture(Frame2, QStringLiteral("imgBat"), QPixmap(), kStateSize);
        imgRec = picture(Frame2, QStringLiteral("imgRec"), QPixmap(), kStateSize);
        imgOver = picture(Frame2, QStringLiteral("imgOver"), QPixmap(), kStateSize);
        for (QLabel* l : {imgKLV, imgStartmode, imgBat, imgRec, imgOver})
            pictures->addWidget(l);
        v->addWidget(Frame2);
        lbTempActualX = value(state, QStringLiteral("lbTempActualX"), QStringLiteral("-00 °C"));
        QFont big = lbTempActualX->font();
        big.setPointSizeF(big.pointSizeF() * 1.15);
        lbTempActualX->setFont(big);
        v->addLayout(line(picture(state, QStringLiteral("imgTermometroX"), Pictures::thermometerIcon(kIconSize), kIconSize),
                          lbTempActualX));
        h->addWidget(state);

        Frame3X = card(FrameComm, QStringLiteral("Frame3X"));
        g = rows(Frame3X);
        g->setHorizontalSpacing(5);
        lbHoraInicioX = value(Frame3X, QStringLiteral("lbHoraInicioX"), kDateWidth);
        lbHoraFinX = value(Frame3X, QStringLiteral("lbHoraFinX"), kDateWidth);
        lbRangoX = value(Frame3X, QStringLiteral("lbRangoX"), QStringLiteral("000 min"));
        lbNumMuestrasX = value(Frame3X, QStringLiteral("lbNumMuestrasX"), QStringLiteral("00000"));
        lbAlarHiX = value(Frame3X, QStringLiteral("lbAlarHiX"), QStringLiteral(" > -00 °C"));
        lbAlarLowX = value(Frame3X, QStringLiteral("lbAlarLowX"), QStringLiteral(" < -00 °C"));
        Image2X[0] = picture(Frame3X, QStringLiteral("Image2X_0"), Pictures::limitIcon(0, kIconSize), kIconSize);
        Image2X[1] = picture(Frame3X, QStringLiteral("Image2X_1"), Pictures::limitIcon(1, kIconSize), kIconSize);
        ImgHiAlarX = picture(Frame3X, QStringLiteral("ImgHiAlarX"), QPixmap(), kLimitPictureSize);
        imgLoAlarX = picture(Frame3X, QStringLiteral("imgLoAlarX"), QPixmap(), kLimitPictureSize);
        for (int i : {9, 8, 10, 7})
            Image1[i]->setParent(Frame3X);
        auto separator = [this](int column) {
            auto* s = new QFrame(Frame3X);
            s->setFixedWidth(1);
            s->setStyleSheet(QStringLiteral("background: rgba(31, 59, 99, 50); border: none;"));
            return std::make_pair(s, column);
        };
        g->addWidget(Image1[9], 0, 0);
        g->addWidget(lbHoraInicioX, 0, 1);
        g->addWidget(Image1[8], 1, 0);
        g->addWidget(lbHoraFinX, 1, 1);
        auto [s1, c1] = separator(2);
        g->addWidget(s1, 0, c1, 2, 1);
        g->addWidget(Image1[10], 0, 3);
        g->addWidget(lbRangoX, 0, 4);
        g->addWidget(Image1[7], 1, 3);
        g->addWidget(lbNumMuestrasX, 1, 4);
        auto [s2, c2] = separator(5);
        g->addWidget(s2, 0, c2, 2, 1);
        g->addWidget(Image2X[1], 0, 6);
        g->addWidget(lbAlarHiX, 0, 7);
        g->addWidget(ImgHiAlarX, 0, 8);
        g->addWidget(Image2X[0], 1, 6);
        g->addWidget(lbAlarLowX, 1, 7);
        g->addWidget(imgLoAlarX, 1, 8);
        h->addWidget(Frame3X);

        QFrame* names = card(FrameComm, QStringLiteral("FrameNombresX"));
        g = rows(names);
        lbexportX = value(names, QStringLiteral("lbexportX"), kNameWidth);
        lbTransportX = value(names, QStringLiteral("lbTransportX"), kNameWidth);
        Image1[11]->setParent(names);
        Image1[12]->setParent(names);
        g->addWidget(Image1[11], 0, 0);
        g->addWidget(lbexportX, 0, 1);
        g->addWidget(Image1[12], 1, 0);
        g->addWidget(lbTransportX, 1, 1);
        h->addWidget(names);
        h->addStretch(1);
    }
    outer->addWidget(FrameComm, 0, 0);

    // Rest state: the maker.
    frameInstit = plain(this, QStringLiteral("frameInstit"));
    {
        auto* h = new QHBoxLayout(frameInstit);
        h->setContentsMargins(6, 0, 0, 0);
        Image3 = new QLabel(frameInstit);
        Image3->setObjectName(QStringLiteral("Image3"));
        Image3->setPixmap(Pictures::makerPicture(QSize(300, 58)));
        h->addWidget(Image3);
        h->addStretch(1);
    }
    outer->addWidget(frameInstit, 0, 0);

    // Elements 3, 4 and 5 belong to no group of this panel; they exist for whoever reads the
    // array by index and stay out of sight.
    for (int i : {3, 4, 5})
        Image1[i]->hide();

    setFixedHeight(qMax(twipsToPixels(1215), outer->sizeHint().height()));
    showRest();
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

void StatusPanel::showPicture(QLabel* image, int index, const QString& toolTip)
{
    if (!image)
        return;
    int size = image->property(kPictureSize).toInt();
    if (size <= 0)
        size = qMax(16, qMin(image->width(), image->height()));
    const QPixmap pm = index > 0 ? Pictures::statePicture(index, size) : QPixmap();
    if (pm.isNull()) {
        image->clear();
        image->setProperty(kPictureIndex, 0);
    } else {
        image->setPixmap(pm);
        image->setProperty(kPictureIndex, index);
    }
    image->setToolTip(toolTip);
}

int StatusPanel::pictureIndex(const QLabel* image)
{
    return image ? image->property(kPictureIndex).toInt() : 0;
}

void StatusPanel::showRest()
{
    FrameDatos->hide();
    FrameComm->hide();
    frameInstit->show();
}

void StatusPanel::showRecord()
{
    FrameComm->hide();
    frameInstit->hide();
    FrameDatos->show();
}

void StatusPanel::showLive()
{
    FrameDatos->hide();
    frameInstit->hide();
    FrameComm->show();
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
