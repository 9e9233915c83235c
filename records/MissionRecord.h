#pragma once
// The one mission record of the application: the byte image of the logger's memory and the
// header fields decoded from it. Filled by a download or by reading a record file; every view
// reads it. Decoding takes the image only, never a port or a file.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvan::records {

constexpr int kImageSize = 32768;     // bytes of a record file and of the logger's memory
constexpr int kMemoriaSize = 67001;   // room of the image; only 0..32767 is ever used
constexpr int kSampleBase = 8192;     // address of sample 0
constexpr int kCapacity = 24576;      // samples the logger holds
constexpr int kAlarmSlots = 10;       // sample numbers per alarm table, 3 bytes each, little-endian

// Addresses of the header fields in the image, which are the logger's memory addresses.
enum Address {
    AddrWait = 0, AddrActivation = 5, AddrLowLimit = 11, AddrHighLimit = 12, AddrInterval = 13, AddrDelay = 18,
    AddrConstant = 20, AddrStampMinute = 21, AddrStampHour = 22, AddrStampDay = 23, AddrStampMonth = 24,
    AddrStampYear = 25, AddrSampleCount = 26, AddrExporter = 64, AddrCarrier = 76, AddrSerial = 90,
    AddrLowAlarms = 1280, AddrHighAlarms = 1312,   // the samples that crossed the low and high limit
    AddrMode = 256, AddrStatus = 258,
};

// The message of a record whose start date cannot be decoded, and the start it then gets.
QString startDateMessage();   // "Error de fecha de inicio\r\nSe adopta 1/1/2011 00:00"
QDateTime fallbackDate();     // 1 January 2011 00:00, Qt::UTC

struct Auditoria {
    qint32 LoThreshold = 0;    // raw
    qint32 HiThreshold = 0;    // raw
    qint32 Rango = 0;          // minutes between samples
    qint32 NumMuestras = 0;
    qint32 EsperaInicio = 0;   // 0..65535
    qint32 DemoraInicio = 0;   // 0..65535
    qint32 PrimeraMuestra = 0;
    qint32 UltimaMuestra = 0;
    QDateTime InicioMision;    // Qt::UTC calendar values
    QDateTime FinMision;
    QDateTime InicioDatos;
    QDateTime FinDatos;
    bool Circular = false;
    bool AlarmaHi = false;
    bool AlarmaLo = false;
    bool ArchivoOk = false;
    QString Exportador;        // 12 characters
    QString Transportador;     // 12 characters
    QString NumSerie;          // 8 characters
    QString NumSerie5;         // 5 characters
};

class MissionRecord {
public:
    MissionRecord();

    // The image: always kMemoriaSize bytes, index 0..67000; a record file holds 0..32767.
    // Read-only from outside: nothing can shrink or grow it.
    const QByteArray& Memoria() const { return m_memoria; }
    // Decoded fields; written only by LeeAuditoria.
    Auditoria campos;

    QString Archivo;          // full path of the record file last read or written
    QString NombreArchivo;    // its name without folder
    bool GuardadoEnDisco = false;

    void clear();             // every image byte 0

    // Reads are bounds-checked: counts and addresses come from hostile files, so an index
    // outside the image reads as 0 instead of faulting; inImage tells the two apart.
    static bool inImage(qint64 index) { return index >= 0 && index < kMemoriaSize; }
    quint8 byte(qint64 index) const { return inImage(index) ? quint8(m_memoria.at(int(index))) : 0; }
    quint8 muestra(qint64 k) const { return byte(kSampleBase + k); }   // sample k, raw
    // Writes land only inside the image; whatever lies outside is dropped.
    void setByte(qint64 index, quint8 value);
    void setBytes(qint64 start, const QByteArray& bytes);
    // Bytes 0..32767: the content of a record file.
    QByteArray fileImage() const { return m_memoria.left(kImageSize); }
    // Characters start .. start+length-1 of the image; RuntimeError 9 past index 67000.
    QString TextoMemoria(int start, int length) const;

    // Decodes every header field from the image. Returns the messages a user must see, in
    // order (the start-date fall-back message); empty when the record decoded cleanly.
    QStringList LeeAuditoria();

    int muestrasGuardadas() const { return campos.UltimaMuestra - campos.PrimeraMuestra; }

    // The samples the record holds, oldest first: held sample i is mission sample
    // PrimeraMuestra + i. A circular mission longer than the memory has overwritten its oldest
    // slots, so there held sample i lies in slot (PrimeraMuestra + i) mod kCapacity; every view
    // reads samples through these, so none shows them out of time order or misdated.
    bool wrapped() const { return campos.Circular && campos.NumMuestras > kCapacity; }
    int heldSampleCount() const { return qMax(0, muestrasGuardadas()); }
    quint8 heldSample(int i) const { return muestra(slotOf(qint64(campos.PrimeraMuestra) + i)); }
    // InicioDatos + (PrimeraMuestra + i) x Rango minutes; invalid past the calendar.
    QDateTime heldSampleTime(int i) const;
    // The byte of mission sample n (the alarm tables' numbering): where a record that has not
    // wrapped keeps it, or for a wrapped record the slot of a sample it still holds; nothing
    // for a sample the memory has overwritten since.
    std::optional<quint8> missionSample(qint64 n) const;

private:
    qint64 slotOf(qint64 n) const { return wrapped() ? n % kCapacity : n; }

    QByteArray m_memoria;
};

} // namespace orvan::records
