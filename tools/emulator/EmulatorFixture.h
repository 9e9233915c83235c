#pragma once
// An emulated logger on a pseudo-terminal for the duration of a test, with a temporary application
// folder whose "Puertos" folder holds the link COM<n> to it; all of it goes with the fixture.

#include "tools/emulator/Logger.h"
#include "tools/emulator/PtyServer.h"
#include "tools/emulator/Scenarios.h"

#include <QTemporaryDir>

#include <memory>

namespace orvan::emulator {

class EmulatorFixture {
public:
    static constexpr int kDefaultCom = 5;

    explicit EmulatorFixture(ScenarioKind kind = ScenarioKind::Finished, const ScenarioOptions& options = {},
                             int com = kDefaultCom);
    explicit EmulatorFixture(std::unique_ptr<Logger> logger, int com = kDefaultCom);
    ~EmulatorFixture();
    EmulatorFixture(const EmulatorFixture&) = delete;
    EmulatorFixture& operator=(const EmulatorFixture&) = delete;

    // False when the pseudo-terminal, the folder or the alias could not be made.
    bool ok() const { return m_ok; }
    QString errorString() const { return m_error; }

    Logger& logger() { return *m_logger; }
    PtyServer& server() { return *m_server; }
    QString devicePath() const { return m_server->devicePath(); }
    QString appFolder() const { return m_dir.path(); }
    QString aliasFolder() const { return m_dir.filePath(QStringLiteral("Puertos")); }
    QString aliasPath() const { return m_alias; }
    int com() const { return m_com; }

    // The frames the logger has taken, in order; writes() those that change it (0x22, 0xA5), waiting
    // a while for `atLeast`: the logger takes a frame once the line has been quiet a moment.
    QList<QByteArray> frames() const;
    QList<QByteArray> writes(int atLeast = 0) const;

private:
    void setUp();

    std::unique_ptr<Logger> m_logger;
    std::unique_ptr<PtyServer> m_server;
    QTemporaryDir m_dir;
    int m_com;
    QString m_alias;
    bool m_ok = false;
    QString m_error;
};

} // namespace orvan::emulator
