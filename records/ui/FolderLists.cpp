#include "records/ui/FolderLists.h"

#include "shell/AppContext.h"
#include "shell/MessageSink.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace orvan::records {

namespace {

constexpr int kRolRuta = Qt::UserRole;
const QString kSubir = QStringLiteral("..");

QString limpia(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

} // namespace

void guardaCarpetaPredeterminada(shell::AppContext& app, const QString& folder, MessageSink& messages)
{
    const QString carpeta = QDir::toNativeSeparators(folder);
    if (carpeta.size() > 80) {
        messages.show(QStringLiteral("La carpeta ") + carpeta
                      + QStringLiteral(" tiene más de 80 caracteres y no se guarda como carpeta predeterminada"));
        return;
    }
    app.config.setCarpetaDatos(carpeta);
    const auto escrito = app.settingsFile.write(app.config);
    if (!escrito.ok)
        messages.show(escrito.error);
}

FolderLists::FolderLists(QWidget* parent)
    : QWidget(parent)
{
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    lbCarpeta = new QLabel(this);
    lbCarpeta->setObjectName(QStringLiteral("lbCarpeta"));
    lbCarpeta->setTextFormat(Qt::PlainText);
    lbCarpeta->setWordWrap(true);
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Drive1);
    layout->addWidget(lbCarpeta);
    layout->addWidget(Dir1, 2);
    layout->addWidget(File1, 3);

    llenaUnidades();

    connect(Drive1, qOverload<int>(&QComboBox::activated), this, &FolderLists::unidadElegida);
    connect(Dir1, &QListWidget::itemActivated, this, &FolderLists::carpetaActivada);
    connect(File1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_llenando && row >= 0)
            Q_EMIT archivoPulsado(File1->item(row)->text());
    });
    connect(File1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item)
            Q_EMIT archivoActivado(item->text());
    });
}

QString FolderLists::unidadDe(const QString& folder)
{
    const QStorageInfo info(folder);
    return info.isValid() ? info.rootPath() : QDir::rootPath();
}

void FolderLists::llenaUnidades()
{
    // Real volumes only: the kernel's own file systems hold no records.
    QStringList raices;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady())
            continue;
        const QString raiz = v.rootPath();
        if (raiz.startsWith(QLatin1String("/proc")) || raiz.startsWith(QLatin1String("/sys"))
            || raiz.startsWith(QLatin1String("/dev")) || raiz.startsWith(QLatin1String("/run")))
            continue;
        // Bind mounts of single files (a container's /etc/hosts) are not volumes to browse.
        if (!QFileInfo(raiz).isDir())
            continue;
        if (!raices.contains(raiz))
            raices << raiz;
    }
    std::sort(raices.begin(), raices.end(), [](const QString& a, const QString& b) {
        const bool raizA = a == QDir::rootPath(), raizB = b == QDir::rootPath();
        if (raizA != raizB)
            return raizA;
        return a < b;
    });
    m_llenando = true;
    Drive1->clear();
    for (const QString& raiz : raices)
        Drive1->addItem(QDir::toNativeSeparators(raiz), raiz);
    m_llenando = false;
}

void FolderLists::marcaUnidad(const QString& folder)
{
    const QString raiz = unidadDe(folder);
    int i = Drive1->findData(raiz);
    m_llenando = true;
    if (i < 0) {
        Drive1->addItem(QDir::toNativeSeparators(raiz), raiz);
        i = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(i);
    m_llenando = false;
}

bool FolderLists::setPath(const QString& folder)
{
    if (folder.trimmed().isEmpty())
        return false;
    const QString destino = limpia(folder);
    const QFileInfo info(destino);
    if (!info.isDir() || !info.isReadable() || !QDir(destino).isReadable())
        return false;
    m_path = destino;
    marcaUnidad(m_path);
    listaCarpeta();
    return true;
}

void FolderLists::refresca()
{
    const QString elegido = File1->currentItem() ? File1->currentItem()->text() : QString();
    listaCarpeta();
    m_llenando = true;
    const QList<QListWidgetItem*> hallados = File1->findItems(elegido, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!elegido.isEmpty() && !hallados.isEmpty())
        File1->setCurrentItem(hallados.first());
    m_llenando = false;
}

void FolderLists::listaCarpeta()
{
    m_llenando = true;
    const QDir dir(m_path);
    lbCarpeta->setText(QDir::toNativeSeparators(m_path));

    Dir1->clear();
    if (!dir.isRoot()) {
        auto* arriba = new QListWidgetItem(kSubir, Dir1);
        arriba->setData(kRolRuta, limpia(dir.absoluteFilePath(kSubir)));
    }
    const QStringList carpetas = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& c : carpetas) {
        auto* item = new QListWidgetItem(c, Dir1);
        item->setData(kRolRuta, dir.absoluteFilePath(c));
    }

    // The pattern matches ".KLV" too, as it does on the logger's home platform.
    File1->clear();
    File1->addItems(dir.entryList({QStringLiteral("*.klv")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    File1->setCurrentRow(-1);
    m_llenando = false;
}

QStringList FolderLists::archivos() const
{
    QStringList nombres;
    for (int i = 0; i < File1->count(); ++i)
        nombres << File1->item(i)->text();
    return nombres;
}

bool FolderLists::seleccionaArchivo(const QString& name)
{
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->text() == name) {
            if (File1->currentRow() == i)
                Q_EMIT archivoPulsado(name);
            else
                File1->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void FolderLists::unidadElegida(int index)
{
    if (m_llenando || index < 0)
        return;
    // An unreadable volume (an empty card reader) puts the list back on the current folder's.
    if (setPath(Drive1->itemData(index).toString()))
        Q_EMIT carpetaCambiada(m_path);
    else
        marcaUnidad(m_path);
    Q_EMIT unidadCambiada();
}

void FolderLists::carpetaActivada(QListWidgetItem* item)
{
    if (!item)
        return;
    if (setPath(item->data(kRolRuta).toString()))
        Q_EMIT carpetaCambiada(m_path);
}

} // namespace orvan::records
