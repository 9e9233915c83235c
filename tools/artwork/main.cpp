// orvan-artwork: paints the application's pictures and writes them into the folder given; with
// an icon folder, also the program's icon as an icon theme lays it out
// (<ICON_FOLDER>/<n>x<n>/apps/orvanlog.png).
// Usage: orvan-artwork OUTPUT_FOLDER [ICON_FOLDER]

#include "ProgramIcon.h"
#include "Scenes.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Fonts and painting need a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2 && argc != 3) {
        err << "usage: orvan-artwork OUTPUT_FOLDER [ICON_FOLDER]\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "orvan-artwork: cannot create " << out.path() << "\n";
        return 1;
    }

    struct Picture {
        const char* name;
        QImage image;
    };
    const Picture pictures[] = {
        {"KLV-204.jpg", orvan::artwork::paintMainBackground(QSize(1920, 1200))},
        {"KLV-chico.jpg", orvan::artwork::paintPanelTexture(QSize(1920, 120))},
        {"Barco.jpg", orvan::artwork::paintShip(QSize(800, 500))},
    };
    for (const Picture& p : pictures) {
        const QString path = out.filePath(QString::fromLatin1(p.name));
        if (!p.image.save(path, "JPG", 90)) {
            err << "orvan-artwork: cannot write " << path << "\n";
            return 1;
        }
    }
    if (argc == 3) {
        for (int size : {48, 64, 128, 256}) {
            const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
            const QString path = folder + QStringLiteral("/orvanlog.png");
            if (!QDir().mkpath(folder) || !orvan::artwork::paintProgramIcon(size).save(path, "PNG")) {
                err << "orvan-artwork: cannot write " << path << "\n";
                return 1;
            }
        }
    }
    return 0;
}
