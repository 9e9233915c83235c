#include "records/ui/FolderLists.h"

#include "base/AppContext.h"
#include "base/MessageSink.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvan::records {

namespace {

constexpr int kRolRuta = Qt::UserRole;

QString limpia(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

} // namespace

void guardaCarpetaPredeterminada(AppContext& app, const QString& folder, MessageSink& messages)
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
    Dir1 = new QTreeWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setHeaderHidden(true);
    Dir1->setRootIsDecorated(false);
    Dir1->setItemsExpandable(false);
    Dir1->setIndentation(14);
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
    connect(Dir1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) { carpetaActivada(item); });
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

    // The tree opened down to the current folder: every ancestor from the volume's root, each
    // one level deeper, then the current folder's subfolders. Any of them can be entered.
    Dir1->clear();
    const QString raiz = limpia(unidadDe(m_path));
    QStringList cadena;
    for (QString p = m_path;;) {
        cadena.prepend(p);
        const QString arriba = limpia(p + QStringLiteral("/.."));
        if (p == raiz || arriba == p)
            break;
        p = arriba;
    }
    const QIcon abierta = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon cerrada = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* actual = nullptr;
    for (const QString& p : cadena) {
        const QString nombre = actual ? QFileInfo(p).fileName() : QDir::toNativeSeparators(p);
        actual = actual ? new QTreeWidgetItem(actual, {nombre}) : new QTreeWidgetItem(Dir1, {nombre});
        actual->setIcon(0, abierta);
        actual->setData(0, kRolRuta, p);
    }
    const QStringList carpetas = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& c : carpetas) {
        auto* item = new QTreeWidgetItem(actual, {c});
        item->setIcon(0, cerrada);
        item->setData(0, kRolRuta, dir.absoluteFilePath(c));
    }
    Dir1->expandAll();
    Dir1->setCurrentItem(actual);
    Dir1->scrollToItem(actual);

    // Record names ignore case: the pattern matches ".KLV" too.
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

void FolderLists::carpetaActivada(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString destino = item->data(0, kRolRuta).toString();
    if (destino == m_path)
        return;
    if (setPath(destino))
        Q_EMIT carpetaCambiada(m_path);
}

} // namespace orvan::records
