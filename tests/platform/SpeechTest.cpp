#include "platform/qt/FliteSpeech.h"
#include "platform/qt/SpeechEngineChoice.h"

#include <gtest/gtest.h>

using namespace bp;

TEST(SpeechChoice, EngineIsNamedFromWhatIsInstalledAndRunning) {
    const QStringList both{"speechd", "flite"};
    const struct {
        const char* name;
        QStringList available;
        QString requested;
        bool dispatcherRunning;
        std::optional<QString> chosen;
    } cases[] = {
        {"flite needs no daemon", both, "", false, "flite"},
        {"the desktop's own speech wins", both, "", true, "speechd"},
        {"dispatcher started on demand", {"speechd"}, "", false, "speechd"},
        {"the request is taken as it is", both, "speechd", false, "speechd"},
        {"a request not installed is refused", both, "espeak", true, std::nullopt},
        {"nothing installed", {}, "", true, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chooseSpeechEngine(c.available, c.requested, c.dispatcherRunning), c.chosen)
            << c.name;
    }
}

TEST(SpeechChoice, LocaleIsTheUsersWhenTheEngineSpeaksIt) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale uk(QLocale::English, QLocale::UnitedKingdom);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale at(QLocale::German, QLocale::Austria);
    const QLocale fr(QLocale::French, QLocale::France);
    EXPECT_EQ(chooseSpeechLocale({us, de, at}, at), at);
    EXPECT_EQ(chooseSpeechLocale({us, de}, at), de) << "same language, another country";
    EXPECT_EQ(chooseSpeechLocale({uk, us}, fr), us) << "US English when the language is missing";
    EXPECT_EQ(chooseSpeechLocale({de, uk}, fr), de) << "else the engine's first";
    EXPECT_EQ(chooseSpeechLocale({}, us), std::nullopt);
}

TEST(SpeechPieces, CutAtLinesSentencesAndWordsNeverInsideACharacter) {
    using Pieces = std::vector<std::string>;
    const struct {
        std::string text;
        std::size_t max;
        Pieces pieces;
    } cases[] = {
        {"Milk\r\n\r\n  and bread \n", 100, {"Milk", "and bread"}},
        {"One two. Three four five.", 12, {"One two.", "Three four", "five."}},
        {"aaaaaaaaaa", 4, {"aaaa", "aaaa", "aa"}},
        {"\xC3\xA9\xC3\xA9\xC3\xA9", 3, {"\xC3\xA9", "\xC3\xA9", "\xC3\xA9"}},
        {" \t\r\n \n", 10, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(speechPieces(c.text, c.max), c.pieces) << c.text;
    }
}
