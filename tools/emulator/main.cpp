// klv-emulator: an emulated KLV-100 on a pseudo-terminal, for demos, manual tests and scripts.
// Prints the device path on the first line of stdout, then serves until SIGINT, SIGTERM, "quit"
// or the end of stdin.

#include "base/RuntimeError.h"
#include "tools/emulator/Logger.h"
#include "tools/emulator/PtyServer.h"
#include "tools/emulator/Scenarios.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <poll.h>
#include <unistd.h>

using namespace orvan::emulator;

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

void say(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void complain(const QString& line)
{
    std::fprintf(stderr, "klv-emulator: %s\n", line.toLocal8Bit().constData());
}

bool parseFault(const QString& text, Fault& fault, int& after)
{
    after = 0;
    if (text == QLatin1String("none"))
        fault = Fault::None;
    else if (text == QLatin1String("silent"))
        fault = Fault::Silent;
    else if (text == QLatin1String("short"))
        fault = Fault::ShortReply;
    else if (text == QLatin1String("long"))
        fault = Fault::LongReply;
    else if (text == QLatin1String("drops-writes"))
        fault = Fault::DropsWrites;
    else if (text == QLatin1String("noise"))
        fault = Fault::Noise;
    else if (text.startsWith(QLatin1String("silent-after:"))) {
        bool ok = false;
        after = text.mid(13).toInt(&ok);
        if (!ok || after < 0)
            return false;
        fault = Fault::SilentAfter;
    } else {
        return false;
    }
    return true;
}

QString hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ')).toUpper();
}

// One command line from stdin; false to quit.
bool runCommand(const QString& line, Logger& logger)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return true;
    const QString cmd = words.first();
    if (cmd == QLatin1String("quit") || cmd == QLatin1String("exit"))
        return false;
    if (cmd == QLatin1String("button")) {
        say(logger.pressButton() ? QStringLiteral("button pressed") : QStringLiteral("button ignored (not waiting for it)"));
    } else if (cmd == QLatin1String("silent")) {
        logger.setFault(Fault::Silent);
        say(QStringLiteral("silent"));
    } else if (cmd == QLatin1String("answer")) {
        logger.setFault(Fault::None);
        say(QStringLiteral("answering"));
    } else if (cmd == QLatin1String("fault") && words.size() == 2) {
        Fault f;
        int after = 0;
        if (parseFault(words[1], f, after)) {
            logger.setFault(f, after);
            say(QStringLiteral("fault ") + words[1]);
        } else {
            say(QStringLiteral("unknown fault ") + words[1]);
        }
    } else if (cmd == QLatin1String("advance") && words.size() == 2) {
        bool ok = false;
        const qint64 minutes = words[1].toLongLong(&ok);
        if (ok && minutes >= 0) {
            logger.advanceMinutes(minutes);
            say(logger.describe());
        } else {
            say(QStringLiteral("advance needs a number of minutes"));
        }
    } else if (cmd == QLatin1String("status")) {
        say(logger.describe());
    } else {
        say(QStringLiteral("commands: button, silent, answer, fault none|silent|short|long|noise|drops-writes|silent-after:N, "
                           "advance MINUTES, status, quit"));
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("klv-emulator"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Emulated KLV-100 temperature logger on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption scenarioOpt(QStringLiteral("scenario"),
        QStringLiteral("empty, button, settime, recording, finished, circular or file (default finished)."),
        QStringLiteral("NAME"), QStringLiteral("finished"));
    const QCommandLineOption samplesOpt(QStringLiteral("samples"), QStringLiteral("Samples taken."), QStringLiteral("N"));
    const QCommandLineOption intervalOpt(QStringLiteral("interval"), QStringLiteral("Minutes between samples."), QStringLiteral("MIN"));
    const QCommandLineOption preparedOpt(QStringLiteral("prepared"), QStringLiteral("Preparation time stamp."),
        QStringLiteral("YYYY-MM-DD HH:MM"));
    const QCommandLineOption delayOpt(QStringLiteral("delay"), QStringLiteral("Start delay in minutes."), QStringLiteral("MIN"));
    const QCommandLineOption exporterOpt(QStringLiteral("exporter"), QStringLiteral("Exporter name."), QStringLiteral("NAME"));
    const QCommandLineOption carrierOpt(QStringLiteral("carrier"), QStringLiteral("Carrier name."), QStringLiteral("NAME"));
    const QCommandLineOption serialOpt(QStringLiteral("serial"), QStringLiteral("Serial number."), QStringLiteral("N"));
    const QCommandLineOption lowOpt(QStringLiteral("low"), QStringLiteral("Low limit, °C."), QStringLiteral("DEG"));
    const QCommandLineOption highOpt(QStringLiteral("high"), QStringLiteral("High limit, °C."), QStringLiteral("DEG"));
    const QCommandLineOption circularOpt(QStringLiteral("circular"), QStringLiteral("Circular recording (mode bit 8)."));
    const QCommandLineOption imageOpt(QStringLiteral("image"), QStringLiteral("Record file for --scenario file."),
        QStringLiteral("FILE.klv"));
    const QCommandLineOption speedOpt(QStringLiteral("speed"),
        QStringLiteral("Mission minutes per wall second; 0 freezes the clock (default 0 for stored missions, 1 for live ones)."),
        QStringLiteral("X"));
    const QCommandLineOption paceOpt(QStringLiteral("pace"), QStringLiteral("Reply at 9600 baud."));
    const QCommandLineOption trickleOpt(QStringLiteral("trickle"), QStringLiteral("Reply one byte every 5 ms."));
    const QCommandLineOption aliasOpt(QStringLiteral("alias-folder"), QStringLiteral("Folder for the COM<n> link."), QStringLiteral("DIR"));
    const QCommandLineOption comOpt(QStringLiteral("com"), QStringLiteral("COM number of the link."), QStringLiteral("N"));
    const QCommandLineOption faultOpt(QStringLiteral("fault"),
        QStringLiteral("none, silent, short, long, noise (random bytes between replies), drops-writes or silent-after:N."), QStringLiteral("MODE"), QStringLiteral("none"));
    const QCommandLineOption eraseBusyOpt(QStringLiteral("erase-busy"),
        QStringLiteral("Milliseconds without answers after an erase."), QStringLiteral("MS"));
    const QCommandLineOption logOpt(QStringLiteral("log"), QStringLiteral("Print each received frame in hex on stderr."));
    const QCommandLineOption ignoreStdinOpt(QStringLiteral("ignore-stdin"),
        QStringLiteral("Do not read commands; run until SIGINT or SIGTERM."));
    parser.addOptions({scenarioOpt, samplesOpt, intervalOpt, preparedOpt, delayOpt, exporterOpt, carrierOpt, serialOpt,
                       lowOpt, highOpt, circularOpt, imageOpt, speedOpt, paceOpt, trickleOpt, aliasOpt, comOpt, faultOpt,
                       eraseBusyOpt, logOpt, ignoreStdinOpt});
    parser.process(app);

    const auto kind = Scenarios::parseKind(parser.value(scenarioOpt));
    if (!kind) {
        complain(QStringLiteral("unknown scenario '%1'").arg(parser.value(scenarioOpt)));
        return 2;
    }

    ScenarioOptions options;
    bool ok = true;
    auto intOption = [&](const QCommandLineOption& opt, int& target, int min, int max) {
        if (!parser.isSet(opt))
            return;
        bool good = false;
        const int v = parser.value(opt).toInt(&good);
        if (!good || v < min || v > max) {
            complain(QStringLiteral("--%1 wants a whole number from %2 to %3").arg(opt.names().first()).arg(min).arg(max));
            ok = false;
            return;
        }
        target = v;
    };
    auto degreeOption = [&](const QCommandLineOption& opt, double& target) {
        if (!parser.isSet(opt))
            return;
        bool good = false;
        const double v = parser.value(opt).toDouble(&good);
        if (!good || !std::isfinite(v)) {
            complain(QStringLiteral("--%1 wants degrees Celsius").arg(opt.names().first()));
            ok = false;
            return;
        }
        target = v;
    };
    intOption(samplesOpt, options.samples, 0, 0xFFFFFE);
    intOption(intervalOpt, options.interval, 1, 255);
    intOption(delayOpt, options.delay, 0, 0xFFFF);
    int serial = int(options.serial);
    intOption(serialOpt, serial, 0, 0xFFFFFF);
    options.serial = quint32(serial);
    degreeOption(lowOpt, options.low);
    degreeOption(highOpt, options.high);
    if (parser.isSet(exporterOpt))
        options.exporter = parser.value(exporterOpt);
    if (parser.isSet(carrierOpt))
        options.carrier = parser.value(carrierOpt);
    options.circular = parser.isSet(circularOpt);
    if (parser.isSet(preparedOpt)) {
        const QDateTime t = QDateTime::fromString(parser.value(preparedOpt), QStringLiteral("yyyy-MM-dd HH:mm"));
        if (!t.isValid()) {
            complain(QStringLiteral("--prepared wants \"YYYY-MM-DD HH:MM\""));
            ok = false;
        }
        options.prepared = QDateTime(t.date(), t.time(), Qt::UTC);
    }
    if (*kind == ScenarioKind::File) {
        if (!parser.isSet(imageOpt)) {
            complain(QStringLiteral("--scenario file needs --image FILE.klv"));
            ok = false;
        }
        options.imagePath = parser.value(imageOpt);
    }
    Fault fault = Fault::None;
    int faultAfter = 0;
    if (!parseFault(parser.value(faultOpt), fault, faultAfter)) {
        complain(QStringLiteral("unknown fault '%1'").arg(parser.value(faultOpt)));
        ok = false;
    }
    const bool live = *kind == ScenarioKind::Recording || *kind == ScenarioKind::Button || *kind == ScenarioKind::SetTime;
    double speed = live ? 1.0 : 0.0;
    if (parser.isSet(speedOpt)) {
        bool good = false;
        speed = parser.value(speedOpt).toDouble(&good);
        if (!good || !std::isfinite(speed) || speed < 0) {
            complain(QStringLiteral("--speed wants a number of minutes per second, 0 or more"));
            ok = false;
        }
    }
    int com = 0;
    intOption(comOpt, com, 1, 256);
    if (parser.isSet(aliasOpt) != parser.isSet(comOpt)) {
        complain(QStringLiteral("--alias-folder and --com go together"));
        ok = false;
    }
    int eraseBusy = 0;
    intOption(eraseBusyOpt, eraseBusy, 0, 600000);
    if (!ok)
        return 2;

    std::unique_ptr<Logger> logger;
    try {
        logger = Scenarios::make(*kind, options);
    } catch (const orvan::RuntimeError& e) {
        complain(e.description);
        return 1;
    }
    logger->setFault(fault, faultAfter);
    logger->setEraseBusyMs(eraseBusy);
    if (parser.isSet(logOpt)) {
        logger->setFrameObserver([](const FrameLogEntry& e) {
            std::fprintf(stderr, "[%9.3f] %s -> %d bytes\n", double(e.atMs) / 1000.0,
                         hex(e.frame).toLatin1().constData(), e.replyBytes);
        });
    }

    if (::pipe(g_signalPipe) != 0) {
        complain(QStringLiteral("cannot make a pipe"));
        return 1;
    }
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PtyServer server(*logger);
    server.setSpeed(speed);
    server.setPaced(parser.isSet(paceOpt));
    if (parser.isSet(trickleOpt))
        server.setPaceUs(PtyServer::kTrickleUs);
    if (!server.start()) {
        complain(server.errorString());
        return 1;
    }
    say(server.devicePath());
    if (parser.isSet(aliasOpt)) {
        const QString link = server.createAlias(parser.value(aliasOpt), com);
        if (link.isEmpty()) {
            complain(QStringLiteral("cannot make the link COM%1 in %2").arg(com).arg(parser.value(aliasOpt)));
            return 1;
        }
        std::fprintf(stderr, "klv-emulator: %s -> %s\n", link.toLocal8Bit().constData(),
                     server.devicePath().toLocal8Bit().constData());
    }

    const bool readStdin = !parser.isSet(ignoreStdinOpt);
    QByteArray pending;
    bool running = true;
    while (running) {
        pollfd fds[2] = {{g_signalPipe[0], POLLIN, 0}, {readStdin ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents & POLLIN)
            break;
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buf[512];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                // A final line without its newline still counts.
                if (!pending.isEmpty())
                    runCommand(QString::fromLocal8Bit(pending), *logger);
                break;
            }
            pending.append(buf, int(n));
            int nl;
            while (running && (nl = int(pending.indexOf('\n'))) >= 0) {
                const QString line = QString::fromLocal8Bit(pending.left(nl));
                pending.remove(0, nl + 1);
                running = runCommand(line, *logger);
            }
        }
    }
    server.stop();
    return 0;
}
