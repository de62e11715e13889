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
