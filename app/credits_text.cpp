#include "app/credits_text.h"

namespace nestora::app {

const CreditsItems& CreditsItemsOf(Language language) {
    static constexpr CreditsItems english{
        {L"Programming:", L"A. Petrov", L"I. Sidorov", L"E-Mail:", L"nestora@example.org"},
        {40, 36, 40, 36, 30},
    };
    static constexpr CreditsItems russian{
        {L"Программирование:", L"А. Петров", L"И. Сидоров", L"E-Mail:", L"nestora@example.org"},
        {34, 33, 40, 34, 24},
    };
    return language == Language::english ? english : russian;
}

std::wstring CreditsText(Language language) {
    const CreditsItems& credits = CreditsItemsOf(language);
    std::wstring text;
    for (std::size_t i = 0; i < credits.items.size(); ++i) {
        text.append(credits.blanksBefore[i], L' ');
        text += credits.items[i];
    }
    return text;
}

} // namespace nestora::app
