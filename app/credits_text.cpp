#include "app/credits_text.h"

namespace nestora::app {

const CreditsItems& creditsItems(Language language) {
    static constexpr CreditsItems english{
        {L"Programming:", L"A. Petrov", L"I. Sidorov", L"E-Mail:", L"nestora@example.org"},
        {46, 34, 34, 34, 34},
    };
    static constexpr CreditsItems russian{
        {L"Программирование:", L"А. Петров", L"И. Сидоров", L"E-Mail:", L"nestora@example.org"},
        {45, 30, 30, 30, 30},
    };
    return language == Language::english ? english : russian;
}

std::wstring creditsText(Language language) {
    const CreditsItems& credits = creditsItems(language);
    std::wstring text;
    for (std::size_t i = 0; i < credits.items.size(); ++i) {
        text.append(credits.blanksBefore[i], L' ');
        text += credits.items[i];
    }
    return text;
}

} // namespace nestora::app
