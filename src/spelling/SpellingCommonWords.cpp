#include "spelling/SpellingCommonWords.h"

#include "vbruntime/CaseFold.h"

namespace corvane {

namespace {

constexpr std::string_view English =
    "a about above after again against all almost also always am an and another any are area around as ask at "
    "away back be because been before being below best better between big both but by call came can case change "
    "close come could day did different do does done down each end even every few field file find first for form "
    "found from get give go going good got great group had has have he help her here high him his home how i if "
    "in into is it its just keep kind know large last left less let life like line list little long look lot made "
    "make man many may me mean might more most much must my name need never new next no not now number of off "
    "often old on once one only open or order other our out over own page part people place point put read "
    "right run said same save say see set she should show side since small so some something sometimes start "
    "still such take tell text than thank that the their them then there these they thing think this those though "
    "three through time to too top turn two type under until up upon us use used very want was way we well "
    "went were what when where which while who why will with word work would write year yes yet you your";

constexpr std::string_view German =
    "aber alle allem allen aller alles als also am an ans auch auf aus bei beim bin bis bitte da damit dann "
    "darf das dass dein dem den denn der des dich die dies diese diesem diesen dieser dir doch dort du durch "
    "ein eine einem einen einer eines er es etwa euch feld fenster für gibt hat hier hin ich ihr ihre im in "
    "ins ist ja jede jedem jeden jeder jetzt kann kein keine können man mehr mein mit muss nach neu nicht "
    "noch nun nur ob oder ohne schon sehr sein seine sich sie sind so soll über um und uns unter viel vom von "
    "vor war wann was weg weil wenn wer werden wie wieder wir wird wo zu zum zur";

} // namespace

const SpellingCommonWords& SpellingCommonWords::forDictionary(std::string_view dictionaryName) {
    static const SpellingCommonWords english(English);
    static const SpellingCommonWords german(German);
    static const SpellingCommonWords none;
    std::string_view language = dictionaryName.substr(0, dictionaryName.find_first_of("_-"));
    if (language == "en")
        return english;
    if (language == "de")
        return german;
    return none;
}

SpellingCommonWords::SpellingCommonWords(std::string_view words) {
    for (size_t start = 0; start < words.size();) {
        size_t end = words.find(' ', start);
        if (end == std::string_view::npos)
            end = words.size();
        if (end > start)
            words_.insert(foldCase(words.substr(start, end - start)));
        start = end + 1;
    }
}

bool SpellingCommonWords::contains(std::string_view word) const {
    return !words_.empty() && words_.count(foldCase(word)) != 0;
}

} // namespace corvane
