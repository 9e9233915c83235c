#pragma once
// Every user text that changes with the language: 69 entries of the current language.

#include <QString>
#include <array>

namespace orvan {

// The entries of the text table by name; the number is the entry's place in the table.
enum class Text {
    StartTime = 0,
    FinishTime = 1,
    TimeBetweenSamples = 2,
    SampleCount = 3,
    LowLimit = 4,
    HighLimit = 5,
    SaveAsDefaultFolder = 6,
    StudyFromDisk = 7,
    ConnectLogger = 8,
    GraphTemperatureTime = 9,
    Proportions = 10,
    Histogram = 11,
    TemperatureList = 12,
    Alarms = 13,
    Print = 14,
    Configuration = 15,
    Finish = 16,
    FirstOfTotalTemplate = 17,
    FirstOfTemplate = 18,
    SamplesOfTotalTemplate = 19,
    TempOkTemplate = 20,
    Date = 21,
    SampleQuantity = 22,
    Time = 23,
    EraseAllData = 24,
    StopMission = 25,
    SaveDataOnDisk = 26,
    PrepareNewMission = 27,
    Exit = 28,
    StartWithButton = 29,
    StartAtTime = 30,
    MissionDays = 31,
    IntervalMinutes = 32,
    CircularWriting = 33,
    ExporterName = 34,
    CarrierName = 35,
    NoLink = 36,
    IncompatibleDevice = 37,
    Linked = 38,
    LoggerEmpty = 39,
    RecordFinished = 40,
    LoggerRecording = 41,
    WaitingButton = 42,
    DataNotSaved = 43,
    DataSaved = 44,
    WaitingStartTime = 45,
    BatteryFailure = 46,
    CircularTooltip = 47,
    LoggerSerial = 48,
    CurrentTime = 49,
    FileName = 50,
    FileOpenError = 51,
    FileWriteError = 52,
    StartDateError = 53,
    InconsistentData = 54,
    AllowOverwriting = 55,
    RecordLength = 56,
    IntervalShort = 57,
    SamplesPiece = 58,
    LastPiece = 59,
    FirstPiece = 60,
    SamplesOfPiece = 61,
    TotalOfPiece = 62,
    SaveAs = 63,
    TrademarkLine = 64,
    SampleNumber = 65,
    Elapsed = 66,
    ClockTime = 67,
    Temperature = 68,
};

class TextTable {
public:
    static constexpr int Count = 69;
    enum Idioma { Spanish = 0, English = 1, German = 2, French = 3, Portuguese = 4 };

    // Fills every entry for the language; an unknown index gives Spanish, with entry 49
    // reading "Datos actuales del KLV-100".
    void CargaTextos(int idioma);

    // Empty until CargaTextos has run.
    QString at(Text entry) const;
    QString operator[](Text entry) const { return at(entry); }

    // The trademark line shown on every view and report footer (entry 64).
    static QString LineaMarca(int idioma);

private:
    // By number: the table's own code only; entries outside 0..68 read as empty.
    QString at(int entry) const;

    std::array<QString, Count> m_texts;
};

} // namespace orvan
