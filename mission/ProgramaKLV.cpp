#include "mission/ProgramaKLV.h"

#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "records/MissionRecord.h"

namespace orvan::mission {

namespace {

constexpr int kStatusBlock = 0;
constexpr int kIdBlock = 2;
constexpr int kFlagBlock = 8;

} // namespace

ProgramaKLV::ProgramaKLV(link::Link& link, PrepProgress progress) : m_link(link), m_progress(std::move(progress)) {}

void ProgramaKLV::report(int value)
{
    if (m_progress && value > 0)
        m_progress(value);
}

PrepResult ProgramaKLV::run(const MissionPlan& p, const QDateTime& now)
{
    PrepResult r;
    if (const auto refusal = validatePlan(p, now)) {
        r.outcome = PrepResult::Outcome::Refused;
        r.refusal = *refusal;
        return r;
    }

    // The serial number goes back byte for byte as the logger holds it: its decimal text on the
    // status panel is cut to five digits and would shorten a longer number.
    const link::Reply id = m_link.LeeBloque(kIdBlock);
    if (!id.ok()) {
        r.outcome = m_link.closing() ? PrepResult::Outcome::Interrupted : PrepResult::Outcome::NoAnswer;
        return r;
    }
    const QByteArray block = id.block();
    for (int i = 0; i < 3; ++i)
        r.serial[size_t(i)] = quint8(block.at(records::AddrSerial - 64 + i));

    r.values = computeValues(p, now);
    report(kProgressStart);
    report(kProgressMode);
    if (!write(writeTable(p, r.values)) || !EscribeNombres(p.exporter, p.carrier, r.serial)) {
        r.outcome = PrepResult::Outcome::Interrupted;
        return r;
    }
    report(kProgressEnd);

    r.differences = verify(p, r.values, r.serial);
    r.outcome = r.differences.isEmpty() ? PrepResult::Outcome::Programmed : PrepResult::Outcome::NotProgrammed;
    return r;
}

bool ProgramaKLV::write(const QList<ByteWrite>& table)
{
    for (const ByteWrite& e : table) {
        if (!m_link.EscribeByte(e.address, e.value))
            return false;
        m_link.clock().sleepMs(e.pauseMs);
        report(e.progress);
    }
    return true;
}

bool ProgramaKLV::EscribeNombres(const QString& exporter, const QString& carrier,
                                 const std::array<quint8, 3>& serial)
{
    return write(nameTable(exporter, carrier, serial));
}

QList<int> ProgramaKLV::verify(const MissionPlan& p, const PrepValues& v, const std::array<quint8, 3>& serial)
{
    // What each written address must hold now.
    QByteArray expected(512, '\0');
    for (const ByteWrite& e : writeTable(p, v) + nameTable(p.exporter, p.carrier, serial))
        expected[e.address] = char(e.value);

    QByteArray readBack(512, '\0');
    bool complete = true;
    for (int block : {kStatusBlock, kIdBlock, kFlagBlock}) {
        const link::Reply reply = m_link.LeeBloque(block);
        if (!reply.ok()) {
            complete = false;
            break;
        }
        readBack.replace(block * link::kBlockSize, link::kBlockSize, reply.block());
    }

    QList<int> differences;
    const QList<int> addresses = verifiedAddresses();
    if (!complete) {
        // Nothing known is nothing verified.
        return addresses + QList<int>{records::AddrMode, records::AddrStatus};
    }
    for (int a : addresses) {
        if (readBack.at(a) != expected.at(a))
            differences.append(a);
    }
    const quint8 mode = quint8(readBack.at(records::AddrMode));
    if ((mode & (ModoCircular | ModoPulsador)) != (v.ModoPrep & (ModoCircular | ModoPulsador)))
        differences.append(records::AddrMode);
    const quint8 status = quint8(readBack.at(records::AddrStatus));
    const bool armed = !(v.EstadoPrep & EstadoRegistrando) || (status & EstadoRegistrando);
    if (!armed || (status & (EstadoSinDatos | EstadoGuardado)))
        differences.append(records::AddrStatus);
    return differences;
}

QString resultMessage(const PrepResult& r, int idioma)
{
    switch (r.outcome) {
    case PrepResult::Outcome::Programmed:
        return {};
    case PrepResult::Outcome::Refused:
        return prepText(r.refusal, idioma);
    case PrepResult::Outcome::NoAnswer:
        return prepText(PrepSentence::NoAnswer, idioma);
    case PrepResult::Outcome::NotProgrammed:
    case PrepResult::Outcome::Interrupted:
        return prepText(PrepSentence::NotProgrammed, idioma);
    }
    return {};
}

std::optional<QString> preparationRefusal(const link::EstadoKLV& estado, int idioma)
{
    if (estado.SinDatos)
        return std::nullopt;
    if (estado.Registrando)
        return addedText(AddedText::PrepareRecording, idioma);
    if (estado.NumMuestras > 0)
        return addedText(AddedText::PrepareHoldsMission, idioma);
    return std::nullopt;
}

} // namespace orvan::mission
