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

constexpr int kPathRole = Qt::UserRole;

QString cleaned(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

} // namespace

void saveDefaultFolder(AppContext& app, const QString& folder, MessageSink& messages)
{
    const QString folderPath = QDir::toNativeSeparators(folder);
    const QString refusal = RegConfig::rechazoCarpetaDatos(folderPath);
    if (!refusal.isEmpty()) {
        messages.show(refusal);
        return;
    }
    app.config.setCarpetaDatos(folderPath);
    const auto written = app.settingsFile.write(app.config);
    if (!written.ok)
        messages.show(written.error);
}

FolderLists::FolderLists(QWidget* parent)
    : QWidget(parent)
{
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("lbCarpeta"));
    folderLabel->setTextFormat(Qt::PlainText);
    folderLabel->setWordWrap(true);
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
    layout->addWidget(folderLabel);
    layout->addWidget(Dir1, 2);
    layout->addWidget(File1, 3);

    fillDrives();

    connect(Drive1, qOverload<int>(&QComboBox::activated), this, &FolderLists::chosenDrive);
    connect(Dir1, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) { folderActivated(item); });
    connect(File1, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0)
            Q_EMIT fileClicked(File1->item(row)->text());
    });
    connect(File1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (item)
            Q_EMIT fileActivated(item->text());
    });
}

QString FolderLists::driveOf(const QString& folder)
{
    const QStorageInfo info(folder);
    return info.isValid() ? info.rootPath() : QDir::rootPath();
}

void FolderLists::fillDrives()
{
    // Real volumes only: the kernel's own file systems hold no records.
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady())
            continue;
        const QString root = v.rootPath();
        if (root.startsWith(QLatin1String("/proc")) || root.startsWith(QLatin1String("/sys"))
            || root.startsWith(QLatin1String("/dev")) || root.startsWith(QLatin1String("/run")))
            continue;
        // Bind mounts of single files (a container's /etc/hosts) are not volumes to browse.
        if (!QFileInfo(root).isDir())
            continue;
        if (!roots.contains(root))
            roots << root;
    }
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        const bool rootA = a == QDir::rootPath(), rootB = b == QDir::rootPath();
        if (rootA != rootB)
            return rootA;
        return a < b;
    });
    m_filling = true;
    Drive1->clear();
    for (const QString& root : roots)
        Drive1->addItem(QDir::toNativeSeparators(root), root);
    m_filling = false;
}

void FolderLists::markDrive(const QString& folder)
{
    const QString root = driveOf(folder);
    int i = Drive1->findData(root);
    m_filling = true;
    if (i < 0) {
        Drive1->addItem(QDir::toNativeSeparators(root), root);
        i = Drive1->count() - 1;
    }
    Drive1->setCurrentIndex(i);
    m_filling = false;
}

bool FolderLists::setPath(const QString& folder)
{
    if (folder.trimmed().isEmpty())
        return false;
    const QString target = cleaned(folder);
    const QFileInfo info(target);
    if (!info.isDir() || !info.isReadable() || !QDir(target).isReadable())
        return false;
    m_path = target;
    markDrive(m_path);
    listFolder();
    return true;
}

void FolderLists::refresh()
{
    const QString chosen = File1->currentItem() ? File1->currentItem()->text() : QString();
    listFolder();
    m_filling = true;
    const QList<QListWidgetItem*> found = File1->findItems(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!chosen.isEmpty() && !found.isEmpty())
        File1->setCurrentItem(found.first());
    m_filling = false;
}

void FolderLists::listFolder()
{
    m_filling = true;
    const QDir dir(m_path);
    folderLabel->setText(QDir::toNativeSeparators(m_path));

    // The tree opened down to the current folder: every ancestor from the volume's root, each
    // one level deeper, then the current folder's subfolders. Any of them can be entered.
    Dir1->clear();
    const QString root = cleaned(driveOf(m_path));
    QStringList chain;
    for (QString p = m_path;;) {
        chain.prepend(p);
        const QString up = cleaned(p + QStringLiteral("/.."));
        if (p == root || up == p)
            break;
        p = up;
    }
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* current = nullptr;
    for (const QString& p : chain) {
        const QString label = current ? QFileInfo(p).fileName() : QDir::toNativeSeparators(p);
        current = current ? new QTreeWidgetItem(current, {label}) : new QTreeWidgetItem(Dir1, {label});
        current->setIcon(0, openIcon);
        current->setData(0, kPathRole, p);
    }
    const QStringList folderLists = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& c : folderLists) {
        auto* item = new QTreeWidgetItem(current, {c});
        item->setIcon(0, closedIcon);
        item->setData(0, kPathRole, dir.absoluteFilePath(c));
    }
    Dir1->expandAll();
    Dir1->setCurrentItem(current);
    Dir1->scrollToItem(current);

    // Record names ignore case: the pattern matches ".KLV" too.
    File1->clear();
    File1->addItems(dir.entryList({QStringLiteral("*.klv")}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    File1->setCurrentRow(-1);
    m_filling = false;
}

QStringList FolderLists::fileList() const
{
    QStringList names;
    for (int i = 0; i < File1->count(); ++i)
        names << File1->item(i)->text();
    return names;
}

bool FolderLists::selectFile(const QString& name)
{
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->text() == name) {
            if (File1->currentRow() == i)
                Q_EMIT fileClicked(name);
            else
                File1->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

void FolderLists::chosenDrive(int index)
{
    if (m_filling || index < 0)
        return;
    // An unreadable volume (an empty card reader) puts the list back on the current folder's.
    if (setPath(Drive1->itemData(index).toString()))
        Q_EMIT folderChanged(m_path);
    else
        markDrive(m_path);
    Q_EMIT driveChanged();
}

void FolderLists::folderActivated(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const QString target = item->data(0, kPathRole).toString();
    if (target == m_path)
        return;
    if (setPath(target))
        Q_EMIT folderChanged(m_path);
}

} // namespace orvan::records
