// The sentences the program adds beyond the language table (the added texts and the
// preparation's sentences): each exists in the five languages, each language says it in its own
// words, and no English word of the code's identifiers has slipped into another language, as a
// rename of identifiers once pushed "delay", "whole" and "minutes" into a Spanish sentence.

#include "base/AddedTexts.h"
#include "mission/PrepPlan.h"

#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <gtest/gtest.h>

using namespace orvan;

namespace {

constexpr int kLanguages = 5;
constexpr int kEnglish = 1;
constexpr int kFrench = 3;

// English words of the code's identifiers that a rename could push into a sentence.
const QSet<QString> kIdentifierWords = {
    "delay", "whole", "minutes", "minute", "days", "day", "hours", "name", "names", "number", "logger", "samples",
    "sample", "start", "stop", "erase", "download", "mark", "saved", "memory", "recording", "record", "limit",
    "time", "interval", "file", "folder", "port", "answer", "character", "window", "again", "first",
};

QStringList englishWords(const QString& sentence, int language)
{
    static const QRegularExpression option(QStringLiteral("--[a-z-]+|[a-z]+://\\S*"));
    static const QRegularExpression word(QStringLiteral("\\b[a-z]+\\b"), QRegularExpression::UseUnicodePropertiesOption);
    QString text = sentence;
    text.remove(option);
    QStringList found;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        // Two of them are French words too.
        const bool french = language == kFrench && (w == QLatin1String("minutes") || w == QLatin1String("port"));
        if (kIdentifierWords.contains(w) && !french)
            found.append(w);
    }
    return found;
}

using Sentence = std::pair<QString, std::function<QString(int)>>;   // a name, the text in a language

QList<Sentence> everySentence()
{
    QList<Sentence> all;
    for (int i = 0; i < addedTextCount(); ++i)
        all.append({QStringLiteral("added text %1").arg(i), [i](int l) { return addedText(AddedText(i), l); }});
    for (int i = 0; i <= int(mission::PrepSentence::NoAnswer); ++i)
        all.append({QStringLiteral("preparation sentence %1").arg(i),
                    [i](int l) { return mission::prepText(mission::PrepSentence(i), l); }});
    return all;
}

} // namespace

TEST(AddedTexts, EverySentenceIsInFiveLanguagesInTheirOwnWords)
{
    const QList<Sentence> all = everySentence();
    ASSERT_GT(all.size(), 7);
    for (const auto& [name, text] : all) {
        QString texts[kLanguages];
        for (int l = 0; l < kLanguages; ++l)
            texts[l] = text(l);
        SCOPED_TRACE(name.toStdString() + ": " + texts[kEnglish].toStdString());
        for (int l = 0; l < kLanguages; ++l) {
            EXPECT_FALSE(texts[l].trimmed().isEmpty()) << "language " << l;
            // A placeholder of the English sentence is filled in every language.
            for (const char* arg : {"%1", "%2"})
                EXPECT_EQ(texts[l].contains(QLatin1String(arg)), texts[kEnglish].contains(QLatin1String(arg)))
                    << "language " << l << " " << arg;
            // Spanish and Portuguese share many words: a lone word may be the same in both.
            for (int other = 0; other < l; ++other) {
                if (other == 0 && l == 4 && !texts[l].trimmed().contains(QLatin1Char(' ')))
                    continue;
                EXPECT_NE(texts[l], texts[other]) << "languages " << other << " and " << l << " share it";
            }
            if (l != kEnglish) {
                EXPECT_EQ(englishWords(texts[l], l).join(' ').toStdString(), "") << "language " << l;
            }
        }
    }
}
