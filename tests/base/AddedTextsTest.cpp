// The sentences the program adds beyond the language table (the added texts and the
// preparation's sentences): each exists in the five languages, each language says it in its own
// words, and no English word of the code's identifiers has slipped into another language, as a
// rename of identifiers once pushed "delay", "whole" and "minutes" into a Spanish sentence.

#include "base/AddedTexts.h"
#include "mission/PrepPlan.h"

#include <QRegularExpression>
#include <QSet>
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

// Words of the identifiers that are also words of the language itself.
bool ownWord(int language, const QString& word)
{
    return language == kFrench && (word == QLatin1String("minutes") || word == QLatin1String("port"));
}

// The identifier words in a sentence of the language. Lowercase whole words only: a German noun
// ("Name") is the language's own, and option names (--no-mark) and addresses (postgresql://…) are
// not words of any language.
QStringList englishWords(const QString& sentence, int language)
{
    static const QRegularExpression option(QStringLiteral("--[a-z-]+|[a-z]+://\\S*"));
    static const QRegularExpression word(QStringLiteral("\\b[a-z]+\\b"), QRegularExpression::UseUnicodePropertiesOption);
    QString text = sentence;
    text.remove(option);
    QStringList found;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        if (kIdentifierWords.contains(w) && !ownWord(language, w))
            found.append(w);
    }
    return found;
}

struct Sentence {
    QString name;
    QString texts[kLanguages];
};

QList<Sentence> everySentence()
{
    QList<Sentence> all;
    for (int i = 0; i < addedTextCount(); ++i) {
        Sentence s{QStringLiteral("added text %1").arg(i), {}};
        for (int l = 0; l < kLanguages; ++l)
            s.texts[l] = addedText(AddedText(i), l);
        all.append(s);
    }
    for (int i = 0; i <= int(mission::PrepSentence::NoAnswer); ++i) {
        Sentence s{QStringLiteral("preparation sentence %1").arg(i), {}};
        for (int l = 0; l < kLanguages; ++l)
            s.texts[l] = mission::prepText(mission::PrepSentence(i), l);
        all.append(s);
    }
    return all;
}

} // namespace

TEST(AddedTexts, TheCheckFindsTheWordsARenamePushedIn)
{
    EXPECT_EQ(englishWords(QStringLiteral("La delay de inicio debe ser un número whole de minutes entre 0 y 65535."), 0),
              QStringList({"delay", "whole", "minutes"}));
    EXPECT_EQ(englishWords(QStringLiteral("Le délai doit être un name entier de minutes"), kFrench), QStringList({"name"}));
    EXPECT_TRUE(englishWords(QStringLiteral("Der Name; use --no-mark"), 2).isEmpty());
}

TEST(AddedTexts, EverySentenceIsInFiveLanguagesInTheirOwnWords)
{
    const QList<Sentence> all = everySentence();
    ASSERT_GT(all.size(), 7);
    for (const Sentence& s : all) {
        SCOPED_TRACE(s.name.toStdString() + ": " + s.texts[kEnglish].toStdString());
        for (int l = 0; l < kLanguages; ++l) {
            EXPECT_FALSE(s.texts[l].trimmed().isEmpty()) << "language " << l;
            // A placeholder of the English sentence is filled in every language.
            for (const char* arg : {"%1", "%2"})
                EXPECT_EQ(s.texts[l].contains(QLatin1String(arg)), s.texts[kEnglish].contains(QLatin1String(arg)))
                    << "language " << l << " " << arg;
            // Spanish and Portuguese share many words: a lone word may be the same in both.
            for (int other = 0; other < l; ++other) {
                if (other == 0 && l == 4 && !s.texts[l].trimmed().contains(QLatin1Char(' ')))
                    continue;
                EXPECT_NE(s.texts[l], s.texts[other]) << "languages " << other << " and " << l << " share it";
            }
            if (l != kEnglish) {
                EXPECT_EQ(englishWords(s.texts[l], l).join(' ').toStdString(), "") << "language " << l << ": "
                                                                               << s.texts[l].toStdString();
            }
        }
    }
}
